#!/usr/bin/env python3
"""The settings the Windows page stores are the POSIX page's, value for value and byte for byte.

  same_settings.py --wine WRAP --host EXE --dump EXE --posix-host EXE --service SVC --scenario FILE

Runs the scenario with the POSIX client (its registry file) and with the Windows client under
Wine (Reminder.dll and Orvane.ocx registered), both against one reference service, then
compares the add-in's Setting key: names, types and bytes as RegQueryValueExA gives them.
"""
import argparse
import os
import re
import subprocess
import sys
import tempfile

SETTINGS = r"HKEY_CURRENT_USER\Software\Microsoft\Office\Outlook\Addins\Reminder.ReminderDesigner\Setting"
REG_SZ, REG_DWORD = 1, 4


def posix_settings(path):
    """The Setting key of a REGEDIT4 file as {name: (type, bytes)}, strings in the ANSI code page."""
    values, inside = {}, False
    for line in open(path, encoding="latin-1").read().splitlines():
        if line.startswith("["):
            inside = line.strip()[1:-1].lower() == SETTINGS.lower()
            continue
        m = re.match(r'^"((?:[^"\\]|\\.)*)"=(.*)$', line)
        if not inside or not m:
            continue
        name, data = m.group(1).replace('\\"', '"').replace("\\\\", "\\"), m.group(2)
        if data.startswith('"'):
            text = data[1:-1].replace('\\"', '"').replace("\\\\", "\\")
            values[name.lower()] = (name, REG_SZ, text.encode("latin-1") + b"\0")
        elif data.startswith("dword:"):
            values[name.lower()] = (name, REG_DWORD, int(data[6:], 16).to_bytes(4, "little"))
        else:
            sys.exit("a stored form this check does not know: " + line)
    return values


def windows_settings(text):
    values = {}
    for line in text.splitlines():
        name, kind, data = line.split("\t")
        values[name.lower()] = (name, int(kind), bytes.fromhex(data))
    return values


def main():
    p = argparse.ArgumentParser()
    for option in ("--wine", "--host", "--dump", "--posix-host", "--service", "--scenario"):
        p.add_argument(option, required=True)
    args = p.parse_args()
    folder = tempfile.mkdtemp(prefix="options-settings-")
    service = subprocess.Popen([args.service, "--port", "0", "--seed-demo", "--db", os.path.join(folder, "s.db")],
                               stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    try:
        line = service.stdout.readline()
        if "listening on" not in line:
            sys.exit("reminder-service did not start: " + line)
        env = dict(os.environ, SERVICE_URL=line.split()[-1], FALCREST_REGISTRY=os.path.join(folder, "registry.reg"))

        subprocess.run([args.posix_host, "register"], env=env, check=True, stdout=subprocess.DEVNULL)
        posix = subprocess.run([args.posix_host, "run", args.scenario], env=env, capture_output=True, text=True)
        if posix.returncode != 0:
            sys.exit("the POSIX client's run failed:\n" + posix.stdout + posix.stderr)
        expected = posix_settings(env["FALCREST_REGISTRY"])

        subprocess.run([args.wine, "reg", "delete", SETTINGS, "/f"], env=env, stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        run = subprocess.run(["xvfb-run", "-a", args.wine, "explorer", "/desktop=options-settings,640x480", args.host,
                              "run", args.scenario], env=env, stdin=subprocess.DEVNULL, capture_output=True,
                             text=True, timeout=240)
        if "\nScenario passed: " not in "\n" + run.stdout:
            sys.exit("the Windows client's run failed:\n" + run.stdout + run.stderr)
        dump = subprocess.run([args.wine, args.dump], env=env, stdin=subprocess.DEVNULL, capture_output=True,
                              text=True)
        if dump.returncode != 0:
            sys.exit("no settings stored by the Windows page: " + dump.stderr)
        got = windows_settings(dump.stdout)
    finally:
        service.kill()
        service.wait()

    for key, (name, kind, data) in sorted(expected.items()):
        print("%-14s type %d  %s" % (name, kind, data))
    wrong = [k for k in expected if got.get(k, (None,))[1:] != expected[k][1:]]
    extra = [got[k][0] for k in got if k not in expected]
    if wrong or extra or not expected:
        for k in wrong:
            print("%s: POSIX %r, Windows %r" % (expected[k][0], expected[k][1:], got.get(k, (None,))[1:]))
        if extra:
            print("stored only by the Windows page: " + ", ".join(extra))
        sys.exit(1)
    print("the same %d settings on both" % len(expected))


if __name__ == "__main__":
    main()
