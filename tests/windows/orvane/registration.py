#!/usr/bin/env python3
"""Orvane.ocx's registration under Wine, as regsvr32 does it and tools read it.

  registration.py --wine RUNNER --dll OCX --scratch DIR

reg export before regsvr32, after it and after regsvr32 /u: registration writes the class,
ProgID, type library (flagged as holding controls), our two interfaces and the control
entries; it never writes the client's PropertyPage interface key (a stand-in for it is put
there first), and unregistration leaves the registry exactly as it was, that key included.
"""
import argparse
import os
import re
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "falcrest"))
from acceptance import Failure, differences, export, regsvr32, value, windows_path, wine  # noqa: E402

CLSID = "{91A3B7DD-2A6C-4EE7-BA66-C2DAE1147942}"
LIBID = "{02CE1A2A-3729-4CE4-B951-5EAA1E8DF571}"
OURS = {"{D8CEECD7-99F5-4576-8620-EA4CE0922467}": "_ReminderSetting",
        "{69161530-A4E2-4326-9323-19D6471209A7}": "__ReminderSetting"}
CLIENT_KEY = r"HKEY_CLASSES_ROOT\Interface\{0006307E-0000-0000-C000-000000000046}"
CLIENT_VALUE = "PropertyPage of the client"
BRANCHES = {"classes": "HKEY_CLASSES_ROOT", "user-classes": r"HKEY_CURRENT_USER\Software\Classes"}


def snapshot(runner, scratch, label):
    keys = {}
    for name, branch in BRANCHES.items():
        keys.update(export(runner, branch, os.path.join(scratch, "%s-%s.reg" % (label, name))))
    return keys


def check_registration(keys, dll):
    problems = []

    def expect(key, name, wanted, compare=lambda a, b: a == b):
        got = value(keys, key, name)
        if got is None or not compare(got, wanted):
            problems.append("%s %s: %s, expected %r" % (key, "@" if not name else '"%s"' % name,
                                                       "missing" if got is None else "%r" % got, wanted))

    same_path = lambda a, b: a.lower() == b.lower()
    cls = "HKEY_CLASSES_ROOT\\CLSID\\" + CLSID
    expect(cls, "", "Orvane.ReminderSetting")
    expect(cls + "\\InprocServer32", "", windows_path(dll), same_path)
    expect(cls + "\\InprocServer32", "ThreadingModel", "Apartment")
    expect(cls + "\\ProgID", "", "Orvane.ReminderSetting")
    expect(cls + "\\TypeLib", "", LIBID)
    expect(cls + "\\Version", "", "252.0")
    if (cls + "\\Control").lower() not in keys:
        problems.append(cls + "\\Control: missing")
    expect(cls + "\\MiscStatus\\1", "", "131473")
    expect(cls + "\\ToolboxBitmap32", "", windows_path(dll) + ", 30000", same_path)
    expect("HKEY_CLASSES_ROOT\\Orvane.ReminderSetting\\CLSID", "", CLSID)
    lib = "HKEY_CLASSES_ROOT\\TypeLib\\%s\\fc.0" % LIBID  # 252.0, in hexadecimal as the system names it
    expect(lib, "", "tarvanel Reminder Add-In PropertyPage")
    expect(lib + "\\FLAGS", "", "2")  # holds controls
    expect(lib + "\\409\\win64", "", windows_path(dll), same_path)

    registered = {}
    for key, (spelt, values) in keys.items():
        match = re.match(r"^hkey_classes_root\\interface\\(\{[^}\\]+\})\\typelib$", key)
        if match and values.get("", "").upper() == LIBID:
            registered[match.group(1).upper()] = value(keys, "HKEY_CLASSES_ROOT\\Interface\\" + match.group(1))
    if registered != OURS:
        problems.append("interfaces registered with the type library: %s, expected %s" % (registered, OURS))
    expect(CLIENT_KEY, "", CLIENT_VALUE)
    return problems


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--wine", required=True)
    parser.add_argument("--dll", required=True)
    parser.add_argument("--scratch", required=True)
    args = parser.parse_args()
    if not os.path.exists(args.dll):
        print("FAIL: %s does not exist: build Orvane.ocx first" % args.dll)
        return 1
    os.makedirs(args.scratch, exist_ok=True)
    # A registration that was there (a manual run, the client's scenarios) is put back at the end.
    was_registered = bool(export(args.wine, "HKEY_CLASSES_ROOT\\CLSID\\" + CLSID, os.path.join(args.scratch, "probe.reg")))
    client_key = bool(export(args.wine, CLIENT_KEY, os.path.join(args.scratch, "client.reg")))
    try:
        if was_registered:
            regsvr32(args.wine, args.dll, unregister=True)
        wine(args.wine, "reg", "add", CLIENT_KEY, "/ve", "/d", CLIENT_VALUE, "/f")
        before = snapshot(args.wine, args.scratch, "before")
        regsvr32(args.wine, args.dll)
        problems = check_registration(snapshot(args.wine, args.scratch, "registered"), args.dll)
        if problems:
            raise Failure("registration wrote the wrong entries:\n  " + "\n  ".join(problems))
        regsvr32(args.wine, args.dll, unregister=True)
        left = differences(before, snapshot(args.wine, args.scratch, "after"))
        if left:
            raise Failure("the registry differs from before registration:\n  " + "\n  ".join(left[:40]))
        print("registered and unregistered %s without a trace; the client's PropertyPage key kept" % args.dll)
    except Failure as failure:
        print("FAIL: %s" % failure)
        return 1
    finally:
        if not client_key:
            wine(args.wine, "reg", "delete", CLIENT_KEY, "/f")
        if was_registered:
            regsvr32(args.wine, args.dll)
    return 0


if __name__ == "__main__":
    sys.exit(main())
