#!/usr/bin/env python3
"""Pictures of the reference service's pages for the README, taken with headless Chromium.

    scripts/screenshots.py [BUILD_DIR]      (default build/dev; writes docs/pictures/*.png)

Needs Debian's chromium, which the build and the tests do not: apt-get install chromium.
Starts reminder-service with the demo account on a free loopback port and a temporary
database, gives the demo member three reminders through the falcrest command, then drives
Chromium over its DevTools pipe as a person would: the log-in form, logging in, the
reminder list, one reminder, and the device page.
"""
import base64
import json
import os
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BUILD = os.path.join(ROOT, sys.argv[1] if len(sys.argv) > 1 else "build/dev")
OUT = os.path.join(ROOT, "docs", "pictures")
REMINDERS = [
    ("3/16/2027 9:30:00 AM", "3/16/2027 9:15:00 AM", "Dentist, Dr. Hale", ["HomeEmail=demo@example.com"], ""),
    ("3/17/2027 2:00:00 PM", "3/17/2027 1:30:00 PM", "Quarterly review with Fish & Chips Ltd",
     ["HomeEmail=demo@example.com", "SMS=5551234"], "Location:Room 4.12\r\nDetail:Bring the Q1 figures."),
    ("3/19/2027 6:45:00 PM", "3/19/2027 6:00:00 PM", "Pick up Sam from football", ["SMS=5551234"], ""),
]


class Browser:
    """Headless Chromium driven through --remote-debugging-pipe (NUL-separated JSON)."""

    def __init__(self, profile):
        to_chrome_r, self.to_chrome = os.pipe()
        self.from_chrome, from_chrome_w = os.pipe()
        # The pipe protocol reads commands on descriptor 3 and writes answers on 4.
        os.dup2(to_chrome_r, 13)
        os.dup2(from_chrome_w, 14)
        self.proc = subprocess.Popen(
            ["chromium", "--headless=new", "--no-sandbox", "--disable-gpu", "--hide-scrollbars",
             "--user-data-dir=" + profile, "--remote-debugging-pipe", "about:blank"],
            close_fds=False, preexec_fn=lambda: (os.dup2(13, 3), os.dup2(14, 4)),
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        for fd in (13, 14, to_chrome_r, from_chrome_w):
            os.close(fd)
        self.buffer = b""
        self.next_id = 0
        self.session = None
        target = self.call("Target.createTarget", {"url": "about:blank"})["targetId"]
        self.session = self.call("Target.attachToTarget", {"targetId": target, "flatten": True})["sessionId"]
        self.call("Page.enable")
        self.call("Emulation.setDeviceMetricsOverride",
                  {"width": 900, "height": 560, "deviceScaleFactor": 1, "mobile": False})

    def message(self):
        while b"\0" not in self.buffer:
            chunk = os.read(self.from_chrome, 65536)
            if not chunk:
                raise RuntimeError("chromium ended")
            self.buffer += chunk
        raw, self.buffer = self.buffer.split(b"\0", 1)
        return json.loads(raw)

    def call(self, method, params=None):
        self.next_id += 1
        command = {"id": self.next_id, "method": method, "params": params or {}}
        if self.session:
            command["sessionId"] = self.session
        os.write(self.to_chrome, json.dumps(command).encode() + b"\0")
        while True:
            m = self.message()
            if m.get("id") == self.next_id:
                if "error" in m:
                    raise RuntimeError(method + ": " + m["error"]["message"])
                return m["result"]

    def wait_for_load(self):
        while self.message().get("method") != "Page.loadEventFired":
            pass

    def go(self, url):
        self.call("Page.navigate", {"url": url})
        self.wait_for_load()

    def script(self, text, loads=False):
        self.call("Runtime.evaluate", {"expression": text})
        if loads:
            self.wait_for_load()

    def shoot(self, name):
        # The picture is as tall as the page, so that every field and button shows.
        bottom = self.call("Runtime.evaluate",
                           {"expression": "Math.ceil(document.body.getBoundingClientRect().bottom) + 32"})
        self.call("Emulation.setDeviceMetricsOverride",
                  {"width": 900, "height": bottom["result"]["value"], "deviceScaleFactor": 1, "mobile": False})
        data = self.call("Page.captureScreenshot", {"format": "png"})["data"]
        with open(os.path.join(OUT, name), "wb") as f:
            f.write(base64.b64decode(data))
        print("wrote docs/pictures/" + name)

    def close(self):
        try:
            self.call("Browser.close")
        except RuntimeError:
            pass
        self.proc.wait(timeout=10)


def main():
    os.makedirs(OUT, exist_ok=True)
    work = tempfile.mkdtemp(prefix="tarvanel-pictures.")
    service = subprocess.Popen(
        [os.path.join(BUILD, "reference-service", "reminder-service"), "--seed-demo", "--port", "0",
         "--db", os.path.join(work, "service.db")], stdout=subprocess.PIPE)
    try:
        base = service.stdout.readline().decode().strip().replace("listening on ", "")
        for start, remind, subject, devices, description in REMINDERS:
            args = [os.path.join(BUILD, "library", "falcrest"), "create", "--url",
                    base + "/WebService/OutlookPlugin.asmx", "--user", "demo", "--password", "demo",
                    "--start", start, "--remind", remind, "--subject", subject, "--description", description]
            for d in devices:
                args += ["--device", d] + (["--provider", "Acme"] if d.startswith("SMS=") else [])
            subprocess.run(args, check=True, stdout=subprocess.DEVNULL)

        browser = Browser(os.path.join(work, "profile"))
        try:
            browser.go(base + "/Reminders.aspx")
            browser.script("document.getElementById('UserId').value = 'demo'")
            browser.shoot("login.png")
            browser.script("document.getElementById('Password').value = 'demo'; "
                           "document.querySelector('form button').click()", loads=True)
            browser.shoot("reminders.png")
            browser.script("document.querySelectorAll('table a')[1].click()", loads=True)
            browser.shoot("reminder.png")
            browser.go(base + "/EditDevice.aspx")
            browser.shoot("devices.png")
        finally:
            browser.close()
    finally:
        service.terminate()
        service.wait()
        subprocess.run(["rm", "-rf", work], check=False)


if __name__ == "__main__":
    main()
