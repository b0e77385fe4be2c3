#!/usr/bin/env python3
"""Falcrest.dll from scripts under Wine: registration, the VBScript suite, unregistration.

  acceptance.py register   --wine RUNNER --dll DLL --state DIR
  acceptance.py members    --wine RUNNER --script VBS
  acceptance.py service    --wine RUNNER --script VBS --service REMINDER_SERVICE
  acceptance.py unregister --wine RUNNER --dll DLL --state DIR

register snapshots the class registry, runs regsvr32 and checks what it wrote; unregister runs
regsvr32 /u and requires the class registry to be exactly as before. RUNNER runs a Windows
program under Wine in the build's prefix (scripts/wine-run.sh).
"""
import argparse
import os
import re
import subprocess
import sys
import tempfile
import time

LIBID = "{5DBF2584-3A6B-47AF-A381-2F71D66FB346}"
TYPELIB_MARSHALER = "{00020424-0000-0000-C000-000000000046}"
CLASSES = ["DeviceType", "LicenseType", "WebService", "RegistryClass", "ReminderType", "CalendarEventType",
           "MemberType", "ContactType", "TimeZoneConst", "CalendarEventKeyType", "MD5HashClass", "SystemConst",
           "ResultType", "Base64Class"]
# Registration writes class entries here; HKCU\Software\Classes must stay untouched as well.
BRANCHES = {"classes": "HKEY_CLASSES_ROOT", "user-classes": r"HKEY_CURRENT_USER\Software\Classes"}
SCRATCH_KEY = r"HKEY_CURRENT_USER\Software\FalcrestAcceptance"


class Failure(Exception):
    pass


def windows_path(path):
    # The prefix maps the POSIX root to drive Z:.
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def wine(runner, *args, timeout=120):
    """Runs a Windows program; its output goes through a file, never a pipe Wine's services could keep open."""
    with tempfile.TemporaryFile() as out:
        result = subprocess.run([runner, *args], stdin=subprocess.DEVNULL, stdout=out, stderr=subprocess.STDOUT,
                                timeout=timeout)
        out.seek(0)
        return result.returncode, out.read().decode("utf-8", "replace")


def read_reg(path):
    """Parses a .reg export into {key (lower case): (key, {value name (lower case): data})}."""
    with open(path, "rb") as f:
        raw = f.read()
    text = raw.decode("utf-16") if raw[:2] in (b"\xff\xfe", b"\xfe\xff") else raw.decode("utf-8", "replace")
    keys, current, pending = {}, None, ""
    for line in text.splitlines():
        if pending:
            line, pending = pending + line.strip(), ""
        if line.endswith("\\") and not line.startswith("["):
            pending = line[:-1]
            continue
        if line.startswith("[") and line.endswith("]"):
            name = line[1:-1]
            current = keys.setdefault(name.lower(), (name, {}))[1]
        elif current is not None and "=" in line:
            match = re.match(r'^(@|"(?:[^"\\]|\\.)*")=(.*)$', line)
            if not match:
                continue
            name = "" if match.group(1) == "@" else match.group(1)[1:-1].replace('\\"', '"').replace("\\\\", "\\")
            data = match.group(2)
            if data.startswith('"') and data.endswith('"'):
                data = data[1:-1].replace('\\"', '"').replace("\\\\", "\\")
            current[name.lower()] = data
    return keys


def export(runner, branch, path):
    """Exports a registry branch; a branch that does not exist exports as an empty file."""
    if os.path.exists(path):
        os.remove(path)
    code, output = wine(runner, "reg", "export", branch, windows_path(path), "/y")
    if code != 0 or not os.path.exists(path):
        open(path, "wb").close()
    return read_reg(path)


def value(keys, key, name=""):
    entry = keys.get(key.lower())
    return None if entry is None else entry[1].get(name.lower())


def regsvr32(runner, dll, unregister=False):
    args = ["regsvr32", "/s"] + (["/u"] if unregister else []) + [windows_path(dll)]
    code, output = wine(runner, *args)
    if code != 0 and "ShellExecuteEx failed" in output:
        # Wine's launcher, not regsvr32, failed to start the program (seen once in many runs,
        # never when repeated): one more try tells a launch failure from a registration failure.
        time.sleep(1)
        code, output = wine(runner, *args)
    if code != 0:
        raise Failure("regsvr32 %s%s failed with exit code %d%s" % ("/u " if unregister else "", windows_path(dll), code,
                                                                 "\n" + output if output.strip() else ""))


def check_registration(keys, dll):
    """What registration must write, for every class, interface and the type library."""
    problems = []

    def expect(key, name, wanted, compare=lambda a, b: a == b):
        got = value(keys, key, name)
        if got is None or not compare(got, wanted):
            problems.append("%s %s: %s, expected %r" % (key, "@" if not name else '"%s"' % name,
                                                       "missing" if got is None else "%r" % got, wanted))

    same_path = lambda a, b: a.lower() == b.lower()
    for name in CLASSES:
        progid = "HKEY_CLASSES_ROOT\\Falcrest." + name
        clsid = value(keys, progid + "\\CLSID")
        if clsid is None:
            problems.append("%s\\CLSID: missing" % progid)
            continue
        cls = "HKEY_CLASSES_ROOT\\CLSID\\" + clsid
        expect(cls + "\\InprocServer32", "", windows_path(dll), same_path)
        expect(cls + "\\InprocServer32", "ThreadingModel", "Apartment")
        expect(cls + "\\ProgID", "", "Falcrest." + name)
        expect(cls + "\\TypeLib", "", LIBID)
        expect(cls + "\\Version", "", "211.0")

    interfaces = {}
    for key, (spelt, values) in keys.items():
        match = re.match(r"^hkey_classes_root\\interface\\(\{[^}\\]+\})\\typelib$", key)
        if match and values.get("", "").upper() == LIBID:
            interfaces[match.group(1)] = value(keys, "HKEY_CLASSES_ROOT\\Interface\\" + match.group(1))
    wanted = sorted("_" + name for name in CLASSES)
    if sorted(str(n) for n in interfaces.values()) != wanted:
        problems.append("interfaces registered with the type library: %s, expected %s" %
                        (sorted(str(n) for n in interfaces.values()), wanted))
    for iid in interfaces:
        expect("HKEY_CLASSES_ROOT\\Interface\\%s\\ProxyStubClsid32" % iid, "", TYPELIB_MARSHALER)

    # The system names a registered type library's version and locale in hexadecimal: 211.0 is d3.0.
    lib = "HKEY_CLASSES_ROOT\\TypeLib\\%s\\d3.0" % LIBID
    expect(lib, "", "tarvanel Reminder Add-In Library")
    expect(lib + "\\409\\win64", "", windows_path(dll), same_path)
    return problems


def differences(before, after):
    lines = []
    for key in sorted(set(before) | set(after)):
        if key not in before:
            lines.append("left behind: [%s] %s" % (after[key][0], after[key][1]))
        elif key not in after:
            lines.append("removed: [%s]" % before[key][0])
        elif before[key][1] != after[key][1]:
            lines.append("changed: [%s] %s -> %s" % (before[key][0], before[key][1], after[key][1]))
    return lines


def register(args):
    os.makedirs(args.state, exist_ok=True)
    keys = export(args.wine, "HKEY_CLASSES_ROOT\\Falcrest.DeviceType", os.path.join(args.state, "probe.reg"))
    if keys:
        print("a registration from an earlier run is still there; unregistering it first")
        regsvr32(args.wine, args.dll, unregister=True)
    # The script host registers its own type library the first time it runs in a prefix: let it
    # do so before the snapshot, so that only what regsvr32 writes counts.
    warm_up = os.path.join(args.state, "warm-up.vbs")
    with open(warm_up, "w") as f:
        f.write("WScript.Quit 0\n")
    wine(args.wine, "cscript", "//nologo", windows_path(warm_up), timeout=120)
    for label, branch in BRANCHES.items():
        export(args.wine, branch, os.path.join(args.state, "before-%s.reg" % label))
    regsvr32(args.wine, args.dll)
    problems = check_registration(export(args.wine, "HKEY_CLASSES_ROOT", os.path.join(args.state, "registered.reg")),
                                  args.dll)
    if problems:
        raise Failure("registration wrote the wrong entries:\n  " + "\n  ".join(problems))
    print("registered %s: %d classes, their interfaces and the type library" % (args.dll, len(CLASSES)))


def unregister(args):
    before = {label: os.path.join(args.state, "before-%s.reg" % label) for label in BRANCHES}
    if not all(os.path.exists(path) for path in before.values()):
        raise Failure("no snapshot from the registration step in %s: it did not run" % args.state)
    regsvr32(args.wine, args.dll, unregister=True)
    found = []
    for label, branch in BRANCHES.items():
        after = export(args.wine, branch, os.path.join(args.state, "after-%s.reg" % label))
        found += ["%s: %s" % (branch, line) for line in differences(read_reg(before[label]), after)]
    if found:
        raise Failure("the registry differs from before registration:\n  " + "\n  ".join(found[:40]))
    print("unregistered: %s and %s are as they were before registration" % tuple(BRANCHES.values()))


def run_script(args, *script_args):
    code, output = wine(args.wine, "cscript", "//nologo", windows_path(args.script), *script_args, timeout=300)
    print(output, end="")
    lines = [line for line in output.splitlines() if line.strip()]
    end = re.match(r"^END \w+: (\d+) checks, (\d+) failed$", lines[-1]) if lines else None
    if not end:
        raise Failure("the script stopped before its end (cscript ends silently on a script error, with exit code "
                      "%d); the last section it reached is shown above" % code)
    if int(end.group(2)) != 0 or code != 0:
        raise Failure("%s of %s checks failed (exit code %d)" % (end.group(2), end.group(1), code))


def members(args):
    wine(args.wine, "reg", "delete", SCRATCH_KEY, "/f")
    try:
        run_script(args, "members")
    finally:
        wine(args.wine, "reg", "delete", SCRATCH_KEY, "/f")


def service(args):
    if not os.access(args.service, os.X_OK):
        raise Failure("the reference service is missing at %s: build the POSIX preset first "
                      "(cmake --preset dev && cmake --build --preset dev --target reminder-service)" % args.service)
    with tempfile.TemporaryDirectory() as work:
        server = subprocess.Popen([args.service, "--port", "0", "--seed-demo", "--db", os.path.join(work, "service.db")],
                                  stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                                  stderr=open(os.path.join(work, "service.err"), "w"), text=True)
        try:
            first = server.stdout.readline().strip()
            if not first.startswith("listening on "):
                server.wait(timeout=5)
                raise Failure("the reference service did not start: " + open(os.path.join(work, "service.err")).read())
            run_script(args, "service", first[len("listening on "):])
        finally:
            server.terminate()
            server.wait(timeout=10)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("step", choices=["register", "members", "service", "unregister"])
    parser.add_argument("--wine", required=True)
    parser.add_argument("--dll")
    parser.add_argument("--state")
    parser.add_argument("--script")
    parser.add_argument("--service")
    args = parser.parse_args()
    if args.dll and not os.path.exists(args.dll):
        print("FAIL: %s does not exist: build Falcrest.dll first" % args.dll)
        return 1
    try:
        {"register": register, "members": members, "service": service, "unregister": unregister}[args.step](args)
    except (Failure, subprocess.TimeoutExpired) as failure:
        print("FAIL: %s" % failure)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
