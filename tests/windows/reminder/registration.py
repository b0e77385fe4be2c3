#!/usr/bin/env python3
"""Reminder.dll's registration under Wine, as regsvr32 does it and the client reads it.

  registration.py --wine RUNNER --dll DLL --scratch DIR

Two rounds of regsvr32 and regsvr32 /u with reg export before and after. The first round
checks the add-in entry (below HKEY_CURRENT_USER only, its four values, its key name and the
ProgID found whatever their case), that the system's IDTExtensibility2 interface key is left
alone, and that unregistration leaves the registry exactly as it was. The second round keeps
the user's settings: unregistration leaves the "Setting" subkey and nothing else.
"""
import argparse
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "falcrest"))
from acceptance import Failure, differences, export, regsvr32, value, windows_path, wine  # noqa: E402

CLSID = "{16297E5E-0499-465F-A921-9CB8E321A787}"
ADDIN = r"HKEY_CURRENT_USER\Software\Microsoft\Office\Outlook\Addins\Reminder.ReminderDesigner"
ADDIN_VALUES = {"friendlyname": "Reminder", "loadbehavior": "dword:00000003", "commandlinesafe": "dword:00000000"}
DESCRIPTION_END = "Reminding Service Outlook Add-In."
# The system's key: written here before registration, so that any change to it shows.
FOREIGN = r"HKEY_CLASSES_ROOT\Interface\{B65AD801-ABAF-11D0-BB8B-00A0C90F2744}"
BRANCHES = {"classes": "HKEY_CLASSES_ROOT", "user": r"HKEY_CURRENT_USER\Software",
            "machine": r"HKEY_LOCAL_MACHINE\Software\Microsoft"}


def snapshot(runner, scratch, label):
    keys = {}
    for name, branch in BRANCHES.items():
        keys.update(export(runner, branch, os.path.join(scratch, "%s-%s.reg" % (label, name))))
    return keys


def reg(runner, *args):
    code, output = wine(runner, "reg", *args)
    return code, output.replace("\r", "")


def check_entry(runner, keys, problems):
    entry = keys.get(ADDIN.lower())
    if entry is None:
        problems.append("no add-in entry at %s" % ADDIN)
        return
    values = entry[1]
    for name, wanted in ADDIN_VALUES.items():
        if values.get(name) != wanted:
            problems.append("%s %s: %r, expected %r" % (ADDIN, name, values.get(name), wanted))
    description = values.get("description", "")
    if not description.endswith(DESCRIPTION_END) or "\n" in description:
        problems.append("Description %r: one line ending in %r expected" % (description, DESCRIPTION_END))
    if sorted(values) != sorted(list(ADDIN_VALUES) + ["description"]):
        problems.append("add-in entry values %s, expected exactly the four" % sorted(values))
    elsewhere = [k for k in keys if k.endswith(r"\addins\reminder.reminderdesigner") and k != ADDIN.lower()]
    if elsewhere:
        problems.append("add-in entry also at %s" % elsewhere)
    # The client names the key as it likes, and creates the class from that name.
    code, _ = reg(runner, "query", ADDIN.upper(), "/v", "LOADBEHAVIOR")
    if code != 0:
        problems.append("the add-in key is not found by its name in upper case")
    if (value(keys, r"HKEY_CLASSES_ROOT\Reminder.ReminderDesigner\CLSID") or "").upper() != CLSID:
        problems.append("the ProgID Reminder.ReminderDesigner does not name %s" % CLSID)


def run_vbs(runner, scratch, text):
    script = os.path.join(scratch, "script.vbs")
    with open(script, "w") as f:
        f.write(text)
    return wine(runner, "cscript", "//nologo", windows_path(script))


def create_by_progid(runner, scratch, problems):
    """The system's activation finds the class from the key's name in any case."""
    code, output = run_vbs(runner, scratch, 'Set a = CreateObject("REMINDER.REMINDERDESIGNER")\r\n'
                'Set b = CreateObject("reminder.reminderdesigner")\r\n'
                'WScript.Echo "created " & (Not a Is Nothing) & " " & (Not b Is Nothing)\r\n'
                'WScript.Quit 7\r\n')
    if code != 7 or "created True True" not in output:
        problems.append("CreateObject by ProgID in upper and lower case: exit %d, %r" % (code, output.strip()))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--wine", required=True)
    parser.add_argument("--dll", required=True)
    parser.add_argument("--scratch", required=True)
    args = parser.parse_args()
    os.makedirs(args.scratch, exist_ok=True)
    runner = args.wine
    problems = []
    # Other suites may have the add-in registered with settings of their own: put it all back.
    saved_entry = os.path.join(args.scratch, "saved-entry.reg")
    if os.path.exists(saved_entry):
        os.remove(saved_entry)
    had_entry = reg(runner, "export", ADDIN, windows_path(saved_entry), "/y")[0] == 0
    code, output = reg(runner, "query", r"HKEY_CLASSES_ROOT\CLSID\%s\InprocServer32" % CLSID, "/ve")
    registered_file = output.split("REG_SZ", 1)[1].strip().splitlines()[0].strip() if code == 0 and "REG_SZ" in output else None
    had_foreign = reg(runner, "query", FOREIGN)[0] == 0
    try:
        reg(runner, "delete", ADDIN, "/f")
        if not had_foreign:
            reg(runner, "add", FOREIGN, "/ve", "/d", "IDTExtensibility2", "/f")
        # The script host registers its own library on its first run: let it do so before.
        run_vbs(runner, args.scratch, "WScript.Quit 0\r\n")
        # Unregistration also removes the client's keys above the entry that it leaves empty,
        # so an earlier run's empty keys are cleared by one round first.
        regsvr32(runner, args.dll)
        regsvr32(runner, args.dll, unregister=True)

        before = snapshot(runner, args.scratch, "before")
        regsvr32(runner, args.dll)
        registered = snapshot(runner, args.scratch, "registered")
        check_entry(runner, registered, problems)
        create_by_progid(runner, args.scratch, problems)
        if registered.get(FOREIGN.lower()) != before.get(FOREIGN.lower()) or any(
                k.startswith(FOREIGN.lower() + "\\") for k in registered):
            problems.append("registration changed the system's key %s" % FOREIGN)
        regsvr32(runner, args.dll, unregister=True)
        problems += ["round 1: " + line for line in differences(before, snapshot(runner, args.scratch, "after"))]

        # The user's settings outlive the add-in's registration.
        regsvr32(runner, args.dll)
        setting = ADDIN + r"\Setting"
        reg(runner, "add", setting, "/v", "UserID", "/d", "demo", "/f")
        regsvr32(runner, args.dll, unregister=True)
        kept = snapshot(runner, args.scratch, "kept")
        if value(kept, setting, "UserID") != "demo":
            problems.append("unregistration removed the user's setting UserID")
        if kept.get(ADDIN.lower(), (None, {}))[1]:
            problems.append("unregistration left values on the add-in key: %s" % kept[ADDIN.lower()][1])
        # Left behind may be only the Setting key and the keys above it.
        prefix = "left behind: ["
        extra = [line for line in differences(before, kept)
                 if not (line.startswith(prefix) and setting.lower().startswith(line[len(prefix):].split("]")[0].lower()))]
        problems += ["round 2: " + line for line in extra]
    except Failure as e:
        problems.append(str(e))
    finally:
        reg(runner, "delete", ADDIN, "/f")
        if not had_foreign:
            reg(runner, "delete", FOREIGN, "/f")
        if registered_file:
            wine(runner, "regsvr32", "/s", registered_file)
        if had_entry:
            reg(runner, "import", windows_path(saved_entry))

    for line in problems:
        print("FAIL " + line)
    print("registration: %d problems" % len(problems))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
