#!/usr/bin/env python3
"""The Windows stand-in client under Wine, end to end.

  host_e2e.py register|unregister --wine WRAP --dll FILE ...
  host_e2e.py scenario --wine WRAP --host EXE --service SVC --scenario FILE [--calls OUT]
                       [--recorder SH] [--expect-calls FILE]
  host_e2e.py capture --wine WRAP --host EXE --posix-host EXE --service SVC --scenario FILE

`capture` runs one scenario with the Windows client and with the POSIX client, each against a
fresh service behind the same capturing proxy, and compares the SOAP requests they sent: the
request line, the headers that carry meaning and the body, byte for byte.

`scenario` starts the reference service on loopback (demo member), a proxy that refuses
creates (${REFUSING_URL}) and names a closed port (${UNREACHABLE_URL}), clears the add-in's
settings, and runs the scenario with reminder-host.exe under Xvfb; it passes when the run does.
With --expect-calls, the calls between the client and its add-ins must contain the lines of
that file in that order.
"""
import argparse
import http.client
import http.server
import os
import socket
import subprocess
import sys
import tempfile
import threading

SETTINGS_KEY = r"HKCU\Software\Microsoft\Office\Outlook\Addins\Reminder.ReminderDesigner\Setting"
FAULT = (b'<?xml version="1.0" encoding="utf-8"?><soap:Envelope '
         b'xmlns:soap="http://schemas.xmlsoap.org/soap/envelope/"><soap:Body><soap:Fault>'
         b'<faultcode>soap:Server</faultcode><faultstring>Creating reminders is switched off</faultstring>'
         b'</soap:Fault></soap:Body></soap:Envelope>')


def wine(args, *command, **kw):
    return subprocess.run([args.wine, *command], stdin=subprocess.DEVNULL, **kw)


def register(args, undo):
    for dll in args.dll:
        command = ["regsvr32", "/s"] + (["/u"] if undo else []) + [dll]
        if wine(args, *command).returncode != 0 and not undo:
            sys.exit("regsvr32 failed for " + dll)


class Service:
    """reminder-service on a free loopback port with the demo member."""

    def __init__(self, program, folder):
        self.process = subprocess.Popen([program, "--port", "0", "--seed-demo", "--db", os.path.join(folder, "service.db")],
                                        stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
        line = self.process.stdout.readline()
        if "listening on" not in line:
            self.process.kill()
            sys.exit("reminder-service did not start: " + line)
        self.url = line.split()[-1]
        self.port = int(self.url.rsplit(":", 1)[1])
        self.db = os.path.join(folder, "service.db")

    def stop(self):
        self.process.terminate()
        self.process.wait()


def refusing_proxy(service_port):
    """Answers CreateReminder with a SOAP fault and passes every other request on."""

    class Handler(http.server.BaseHTTPRequestHandler):
        def do_POST(self):
            body = self.rfile.read(int(self.headers.get("Content-Length", 0)))
            action = self.headers.get("SOAPAction", "")
            if "CreateReminder" in action:
                status, answer, kind = 500, FAULT, "text/xml; charset=utf-8"
            else:
                c = http.client.HTTPConnection("127.0.0.1", service_port)
                c.request("POST", self.path, body, {"SOAPAction": action,
                                                    "Content-Type": self.headers.get("Content-Type", "")})
                r = c.getresponse()
                status, answer, kind = r.status, r.read(), r.getheader("Content-Type", "")
            self.send_response(status)
            self.send_header("Content-Type", kind)
            self.send_header("Content-Length", str(len(answer)))
            self.end_headers()
            self.wfile.write(answer)

        def log_message(self, *a):
            pass

    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


def closed_port():
    s = socket.socket()
    s.bind(("127.0.0.1", 0))
    port = s.getsockname()[1]
    s.close()
    return port


def in_order(expected, calls):
    at = 0
    for line in calls:
        if at < len(expected) and line == expected[at]:
            at += 1
    return at == len(expected), (expected[at] if at < len(expected) else None)


def on_display(command):
    """The command on the display ctest runs under (xvfb-run -a ctest ...), or on one of its own."""
    return command if os.environ.get("DISPLAY") else ["xvfb-run", "-a"] + command


def scenario(args):
    folder = tempfile.mkdtemp(prefix="host-win-")
    service = Service(args.service, folder)
    proxy = refusing_proxy(service.port)
    try:
        wine(args, "reg", "delete", SETTINGS_KEY, "/f", stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        prefix = os.environ["WINEPREFIX"]
        if os.path.exists(os.path.join(prefix, "last-url.txt")):
            os.remove(os.path.join(prefix, "last-url.txt"))
        env = dict(os.environ, SERVICE_URL=service.url, SERVICE_DB=service.db, SERVICE_PASSWORD="demo",
                   REFUSING_URL="http://127.0.0.1:%d" % proxy.server_address[1],
                   UNREACHABLE_URL="http://127.0.0.1:%d" % closed_port())
        if args.recorder:
            env["OPTIONS_URL_RECORDER"] = args.recorder
        calls = args.calls or os.path.join(folder, "calls.txt")
        # A desktop of its own on this run's display: the prefix's default desktop may have been
        # started without one. Its launcher does not pass the exit status on, so the
        # transcript's last line tells.
        run = subprocess.run(on_display([args.wine, "explorer", "/desktop=reminder-host,640x480", args.host,
                                         "run", args.scenario, "--calls", calls]),
                             env=env, stdin=subprocess.DEVNULL, capture_output=True, text=True, timeout=240)
        print(run.stdout)
        print(run.stderr, file=sys.stderr)
        if run.returncode != 0 or "\nScenario passed: " not in "\n" + run.stdout:
            sys.exit("the scenario did not pass (exit status %d)" % run.returncode)
        if args.expect_calls:
            expected = [l.strip() for l in open(args.expect_calls) if l.strip() and not l.startswith("#")]
            got = [l.rstrip("\n") for l in open(calls)]
            ok, missing = in_order(expected, got)
            if not ok:
                sys.exit("expected the call %r in order, got:\n  %s" % (missing, "\n  ".join(got)))
    finally:
        proxy.shutdown()
        service.stop()


# Headers that carry meaning to the service; the others name the HTTP stack (User-Agent,
# Accept, Connection, Cache-Control) and differ between WinINet and libcurl.
MEANINGFUL = ("host", "soapaction", "content-type", "content-length")


class CapturingProxy:
    """Passes every request on to the current service and records the SOAP posts."""

    def __init__(self):
        self.upstream = None
        self.requests = []
        outer = self

        class Handler(http.server.BaseHTTPRequestHandler):
            protocol_version = "HTTP/1.1"

            def forward(self, body):
                if self.command == "POST" and "/WebService/" in self.path:
                    headers = {k.lower(): v for k, v in self.headers.items()}
                    outer.requests.append((self.requestline, headers, body))
                c = http.client.HTTPConnection("127.0.0.1", outer.upstream)
                sent = {k: v for k, v in self.headers.items() if k.lower() not in ("host", "connection")}
                c.request(self.command, self.path, body, sent)
                r = c.getresponse()
                answer = r.read()
                self.send_response(r.status)
                for k, v in r.getheaders():
                    if k.lower() not in ("content-length", "connection", "transfer-encoding"):
                        self.send_header(k, v)
                self.send_header("Content-Length", str(len(answer)))
                self.end_headers()
                self.wfile.write(answer)

            def do_POST(self):
                self.forward(self.rfile.read(int(self.headers.get("Content-Length", 0))))

            def do_GET(self):
                self.forward(None)

            def log_message(self, *a):
                pass

        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
        self.url = "http://127.0.0.1:%d" % self.server.server_address[1]
        threading.Thread(target=self.server.serve_forever, daemon=True).start()


def capture(args):
    proxy = CapturingProxy()
    runs = {}
    for side in ("windows", "posix"):
        folder = tempfile.mkdtemp(prefix="host-capture-")
        service = Service(args.service, folder)
        proxy.upstream, proxy.requests = service.port, []
        env = dict(os.environ, SERVICE_URL=proxy.url, SERVICE_DB=service.db, SERVICE_PASSWORD="demo",
                   FALCREST_REGISTRY=os.path.join(folder, "registry.reg"), no_proxy="127.0.0.1,localhost")
        env.pop("FALCREST_SHORT_DATE", None)
        env.pop("FALCREST_LONG_TIME", None)
        try:
            if side == "windows":
                wine(args, "reg", "delete", SETTINGS_KEY, "/f", stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
                command = on_display([args.wine, "explorer", "/desktop=reminder-host,640x480", args.host,
                                      "run", args.scenario])
            else:
                subprocess.run([args.posix_host, "register"], env=env, check=True, stdout=subprocess.DEVNULL)
                command = [args.posix_host, "run", args.scenario, "--calendar", os.path.join(folder, "calendar.ics")]
            run = subprocess.run(command, env=env, stdin=subprocess.DEVNULL, capture_output=True, text=True, timeout=240)
            if "\nScenario passed: " not in "\n" + run.stdout:
                sys.exit("the %s client did not pass the scenario:\n%s%s" % (side, run.stdout, run.stderr))
        finally:
            service.stop()
        runs[side] = proxy.requests
    proxy.server.shutdown()
    windows, posix = runs["windows"], runs["posix"]
    if not windows:
        sys.exit("no request was captured")
    if len(windows) != len(posix):
        sys.exit("the Windows client sent %d requests, the POSIX client %d" % (len(windows), len(posix)))
    for n, (w, p) in enumerate(zip(windows, posix), 1):
        if w[0] != p[0]:
            sys.exit("request %d: %r (Windows) differs from %r (POSIX)" % (n, w[0], p[0]))
        for name in MEANINGFUL:
            if w[1].get(name) != p[1].get(name):
                sys.exit("request %d: header %s is %r (Windows), %r (POSIX)" % (n, name, w[1].get(name), p[1].get(name)))
        if w[2] != p[2]:
            sys.exit("request %d: the bodies differ\n--- Windows\n%r\n--- POSIX\n%r" % (n, w[2], p[2]))
        others = sorted(k for k in set(w[1]) | set(p[1]) if k not in MEANINGFUL and w[1].get(k) != p[1].get(k))
        print("request %d: %s, %d body bytes identical; differing transport headers: %s"
              % (n, w[1].get("soapaction"), len(w[2]), ", ".join(others) or "none"))


def main():
    p = argparse.ArgumentParser()
    p.add_argument("action", choices=["register", "unregister", "scenario", "capture"])
    p.add_argument("--posix-host")
    p.add_argument("--wine", required=True)
    p.add_argument("--dll", action="append", default=[])
    p.add_argument("--host")
    p.add_argument("--service")
    p.add_argument("--scenario")
    p.add_argument("--calls")
    p.add_argument("--recorder")
    p.add_argument("--expect-calls")
    args = p.parse_args()
    if args.action == "scenario":
        scenario(args)
    elif args.action == "capture":
        capture(args)
    else:
        register(args, args.action == "unregister")


if __name__ == "__main__":
    main()
