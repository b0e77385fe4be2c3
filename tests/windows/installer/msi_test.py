#!/usr/bin/env python3
"""The Windows installers (scripts/package.sh), each run in a fresh Wine prefix of its own.

  msi_test.py rows    --wine RUN --up UP --prefix DIR --msi X64.MSI --bin WIN64_BIN
  msi_test.py install --wine RUN --up UP --prefix DIR --msi X64.MSI --driver HOST_E2E --host EXE
                      --service SVC --scenario FILE
  msi_test.py upgrade --wine RUN --up UP --prefix DIR --msi X64.MSI --package PACKAGE_SH
  msi_test.py x86     --msi X86.MSI --bin WIN32_BIN

rows: the package's Registry rows are exactly the values regsvr32 writes for the same files.
install: msiexec /i, every Falcrest class created by its ProgID from cscript, a repair writes
back what was deleted, reminder-host.exe runs a scenario with the installed add-in, msiexec /x
leaves the classes and HKCU\\Software as before but for the user's "Setting".
upgrade: an older package, then the newer one: one product and one registration, gone on /x.
x86: the 32-bit package read without running it.
"""
import argparse
import os
import re
import subprocess
import sys
import tempfile

import pefile

from packages import Failure, FreshPrefix, row_entries, snapshot, summary, table, wine, written

NAME, PUBLISHER = "Tarvanel Reminder", "Tarvanel"
FILES = ("Falcrest.dll", "Reminder.dll", "Orvane.ocx")
ADDIN = r"hkey_current_user\software\microsoft\office\outlook\addins\reminder.reminderdesigner"
SETTING = ADDIN + r"\setting"
UNINSTALL = r"Software\Microsoft\Windows\CurrentVersion\Uninstall"
# Wine's msiexec keeps its own list of per-user products here and leaves the emptied keys.
WINE_PRODUCTS = r"hkey_current_user\software\microsoft\installer"
# Written while the client runs, by WinINet (its proxy setting) and by Wine's desktop.
CLIENT_RUN = (r"hkey_current_user\software\microsoft\windows\currentversion\internet settings",
              r"hkey_current_user\software\wine\temporary system parameters")


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def check(problems, what, ok, detail=""):
    print(("ok   " if ok else "FAIL ") + what + ("" if ok or not detail else ": " + detail))
    if not ok:
        problems.append(what)


def msiexec(args, *options):
    code, output = wine(args.wine, "msiexec", *options, "/qn", timeout=300)
    if code != 0:
        raise Failure("msiexec %s failed with exit code %d\n%s" % (" ".join(options), code, output))


def install_folder():
    return os.path.join(os.environ["WINEPREFIX"], "drive_c/users", os.environ.get("USER", "root"),
                        "AppData/Local/Programs", NAME)


def compare(problems, what, expected, got):
    missing = sorted(k for k in expected if got.get(k) != expected[k])
    extra = sorted(k for k in got if k not in expected)
    detail = "; ".join(["%s %r: %r, expected %r" % (k[0], k[1], got.get(k), expected[k]) for k in missing[:5]] +
                       ["not in the package: %s %r = %r" % (k[0], k[1], got[k]) for k in extra[:5]])
    check(problems, what, not missing and not extra, detail)


def rows(args, problems):
    folder = tempfile.mkdtemp(prefix="msi-rows-")
    before = snapshot(args.wine, folder, "before")
    for f in FILES:
        code, output = wine(args.wine, "regsvr32", "/s", windows_path(os.path.join(args.bin, f)))
        if code != 0:
            raise Failure("regsvr32 %s failed (%d): %s" % (f, code, output))
    after = snapshot(args.wine, folder, "after")
    files = {f: windows_path(os.path.join(args.bin, f)) for f in FILES}
    expected = row_entries(args.msi, files, windows_path(args.bin) + "\\")
    compare(problems, "the Registry rows are the values regsvr32 writes for the same files (%d)" % len(expected),
            expected, written(before, after))


def product_version(msi):
    return dict((r[0], r[1]) for r in table(msi, "Property"))["ProductVersion"]


def product_entry(args):
    """The installed programs' entries named like the product, wherever Wine put them."""
    found = []
    for root in ("HKLM", "HKCU"):
        code, output = wine(args.wine, "reg", "query", root + "\\" + UNINSTALL, "/s")
        for block in output.replace("\r", "").split("\n\n"):
            if re.search(r"DisplayName\s+REG_SZ\s+%s$" % NAME, block, re.M):
                found.append(dict(re.findall(r"^\s+(\w+)\s+REG_\w+\s+(.*)$", block, re.M)))
    return found


def create_by_progid(args, folder, problems):
    progids = sorted({key for _, root, key, _, _, _ in table(args.msi, "Registry")
                      if root == "0" and "\\" not in key and key.startswith("Falcrest.")})
    check(problems, "the package registers the fourteen Falcrest classes", len(progids) == 14, str(progids))
    script = os.path.join(folder, "create.vbs")
    with open(script, "w") as f:
        f.write("On Error Resume Next\n")
        for p in progids:
            f.write('Err.Clear\nSet o = CreateObject("%s")\n' % p)
            f.write('If Err.Number = 0 Then WScript.Echo "created %s" Else WScript.Echo "failed %s " & Err.Number\n'
                    % (p, p))
            f.write("Set o = Nothing\n")
        f.write('WScript.Echo "done"\nWScript.Quit 0\n')
    code, output = wine(args.wine, "cscript", "//nologo", windows_path(script))
    created = re.findall(r"^created (\S+)", output, re.M)
    check(problems, "cscript creates every Falcrest class by its ProgID", "done" in output and created == progids,
          output.strip())


def repair(args, problems):
    reminder = os.path.join(install_folder(), "Reminder.dll")
    os.remove(reminder)
    wine(args.wine, "reg", "delete", "HKCU\\" + ADDIN.split("\\", 1)[1], "/v", "LoadBehavior", "/f")
    wine(args.wine, "reg", "delete", r"HKCR\Falcrest.WebService", "/f")
    # What "msiexec /fomus" asks for; Wine's /f does not find a per-user product (1605).
    msiexec(args, "/i", windows_path(args.msi), "REINSTALL=ALL", "REINSTALLMODE=omus")
    keys = snapshot(args.wine, tempfile.mkdtemp(prefix="msi-repair-"), "repaired")
    check(problems, "a repair puts back a deleted file, a user row and a class row",
          os.path.exists(reminder) and keys.get(ADDIN, (0, {}))[1].get("loadbehavior") == "dword:00000003"
          and r"hkey_classes_root\falcrest.webservice\clsid" in keys)


def use(args, problems):
    calls = os.path.join(tempfile.mkdtemp(prefix="msi-calls-"), "calls.txt")
    run = subprocess.run([sys.executable, args.driver, "scenario", "--wine", args.wine, "--host", args.host,
                          "--service", args.service, "--scenario", args.scenario, "--calls", calls],
                         stdin=subprocess.DEVNULL, capture_output=True, text=True, timeout=400)
    connected = os.path.exists(calls) and "OnConnection Reminder.ReminderDesigner mode 1" in open(calls).read()
    check(problems, "reminder-host.exe loads the installed add-in and runs %s" % os.path.basename(args.scenario),
          run.returncode == 0 and connected, run.stdout[-2000:] + run.stderr[-2000:])


def removed_as_before(before, after, problems):
    """After removal: the state before, but for the user's settings (and the keys above them),
    the product list Wine's msiexec leaves empty and what the client's run wrote."""
    extra = []
    for key in sorted(set(before) | set(after)):
        old, new = before.get(key, (None, {}))[1], after.get(key, (None, {}))[1]
        if key in before and old == new:
            continue
        kept_settings = key not in before and (key == SETTING or (SETTING.startswith(key + "\\") and not new))
        wine_list = key not in before and key.startswith(WINE_PRODUCTS) and not new
        client_run = key.startswith(CLIENT_RUN)
        if not (kept_settings or wine_list or client_run):
            extra.append("%s: %s -> %s" % (key, old if key in before else "absent", new if key in after else "absent"))
    check(problems, "removal leaves the classes and HKCU\\Software as before, but for Setting", not extra,
          "; ".join(extra[:8]))


def install(args, problems):
    folder = tempfile.mkdtemp(prefix="msi-install-")
    # The script host registers its own type library at its first run: let it, before the snapshot.
    with open(os.path.join(folder, "nothing.vbs"), "w") as f:
        f.write("WScript.Quit 0\n")
    wine(args.wine, "cscript", "//nologo", windows_path(os.path.join(folder, "nothing.vbs")))
    before = snapshot(args.wine, folder, "before")
    msiexec(args, "/i", windows_path(args.msi))
    version = product_version(args.msi)
    entries = product_entry(args)
    check(problems, "one entry in the installed programs: name, publisher, version %s" % version,
          len(entries) == 1 and entries[0].get("Publisher") == PUBLISHER and entries[0].get("DisplayVersion") == version,
          str(entries))
    keys = snapshot(args.wine, folder, "installed")
    icons = [v.get("producticon", "") for k, (_, v) in keys.items() if k.startswith(WINE_PRODUCTS + "\\products\\")]
    check(problems, "the product's icon is the bell", any(i.endswith("bell.ico") for i in icons), str(icons))
    server = keys.get(r"hkey_classes_root\clsid\{16297e5e-0499-465f-a921-9cb8e321a787}\inprocserver32", (0, {}))[1]
    check(problems, "the add-in class is served by the installed Reminder.dll",
          server.get("", "").lower().endswith(("\\programs\\%s\\reminder.dll" % NAME).lower()), str(server))
    check(problems, "the add-in entry is in the user's add-in list",
          keys.get(ADDIN, (0, {}))[1].get("friendlyname") == "Reminder")
    create_by_progid(args, folder, problems)
    repair(args, problems)
    use(args, problems)
    msiexec(args, "/x", windows_path(args.msi))
    after = snapshot(args.wine, folder, "after")
    check(problems, "removal takes the installed files away", not os.path.exists(install_folder()))
    check(problems, "removal keeps the user's Setting", SETTING in after)
    check(problems, "removal takes the entry out of the installed programs", not product_entry(args))
    removed_as_before(before, after, problems)


def upgrade(args, problems):
    folder = tempfile.mkdtemp(prefix="msi-upgrade-")
    build_env = dict(os.environ, WINEPREFIX=args.build_prefix)
    made = subprocess.run([args.package, "--only", "x64", "--version", "0.9.0.1", "--out", folder], env=build_env,
                          stdin=subprocess.DEVNULL, capture_output=True, text=True)
    if made.returncode != 0:
        raise Failure("package.sh of the older package failed: " + made.stdout + made.stderr)
    old = os.path.join(folder, "TarvanelReminder-0.9.0.1-x64.msi")
    before = snapshot(args.wine, folder, "before")
    msiexec(args, "/i", windows_path(old))
    msiexec(args, "/i", windows_path(args.msi))
    entries = product_entry(args)
    check(problems, "after the upgrade one product is installed, the newer one",
          [e.get("DisplayVersion") for e in entries] == [product_version(args.msi)], str(entries))
    upgraded = snapshot(args.wine, folder, "upgraded")
    check(problems, "after the upgrade the classes are registered",
          r"hkey_classes_root\falcrest.webservice\clsid" in upgraded)
    msiexec(args, "/x", windows_path(args.msi))
    after = snapshot(args.wine, folder, "after")
    check(problems, "removing the newer package leaves no product", not product_entry(args))
    removed_as_before(before, after, problems)


def x86(args, problems):
    info = summary(args.msi)
    check(problems, "the template is Intel;1033", info.get("Template") == "Intel;1033", info.get("Template", ""))
    components = table(args.msi, "Component")
    check(problems, "no component is marked 64-bit", all(int(c[3]) & 256 == 0 for c in components),
          str([c[0] for c in components if int(c[3]) & 256]))
    files = {r[0]: r[2] for r in table(args.msi, "File")}
    check(problems, "the package holds the three files", sorted(files.values()) == sorted(FILES), str(files))
    refs = set()
    for r in table(args.msi, "Registry"):
        refs.update(re.findall(r"\[#([^\]]+)\]", r[4]))
    check(problems, "the rows point at the package's files", refs == set(files), str(refs))
    platforms = {r[2].rsplit("\\", 1)[1] for r in table(args.msi, "Registry") if re.search(r"\\(win32|win64)$", r[2])}
    check(problems, "the type libraries are registered for 32-bit Windows", platforms == {"win32"}, str(platforms))
    out = tempfile.mkdtemp(prefix="msi-x86-")
    subprocess.run(["msiextract", "-C", out, args.msi], check=True, stdout=subprocess.DEVNULL)
    for name in FILES:
        path = os.path.join(out, "Programs", NAME, name)
        pe = pefile.PE(path, fast_load=True) if os.path.exists(path) else None
        same = pe is not None and open(path, "rb").read() == open(os.path.join(args.bin, name), "rb").read()
        check(problems, "%s inside is the 32-bit build's PE32 file" % name,
              pe is not None and pe.FILE_HEADER.Machine == 0x14C and pe.OPTIONAL_HEADER.Magic == 0x10B and same)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("mode", choices=("rows", "install", "upgrade", "x86"))
    for option in ("--wine", "--up", "--prefix", "--msi", "--bin", "--driver", "--host", "--service", "--scenario",
                   "--package"):
        parser.add_argument(option)
    args = parser.parse_args()
    args.build_prefix = os.environ.get("WINEPREFIX", "")
    problems = []
    try:
        if args.mode == "x86":
            x86(args, problems)
        else:
            with FreshPrefix(args.prefix, args.up):
                {"rows": rows, "install": install, "upgrade": upgrade}[args.mode](args, problems)
    except Failure as failure:
        sys.exit("FAIL " + str(failure))
    if problems:
        sys.exit("%d check(s) failed" % len(problems))


if __name__ == "__main__":
    main()
