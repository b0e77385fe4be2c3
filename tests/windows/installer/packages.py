"""What the tests of the installers share: a package's tables, its Registry rows read as the
registry entries they make, and a fresh Wine prefix of a test's own."""
import os
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "falcrest"))
from acceptance import Failure, export, wine  # noqa: E402,F401

ROOTS = {"0": "HKEY_CLASSES_ROOT", "1": "HKEY_CURRENT_USER"}
BRANCHES = ("HKEY_CLASSES_ROOT", r"HKEY_CURRENT_USER\Software")


def table(msi, name):
    """The rows of one table of the package, as lists of column texts."""
    text = subprocess.run(["msiinfo", "export", msi, name], capture_output=True, text=True, check=True).stdout
    return [line.split("\t") for line in text.splitlines()[3:]]


def summary(msi):
    text = subprocess.run(["msiinfo", "suminfo", msi], capture_output=True, text=True, check=True).stdout
    return dict(line.split(": ", 1) for line in text.splitlines() if ": " in line)


def formatted(text, files, folder):
    """A Registry value as the installer writes it: file and folder references resolved,
    escaped brackets unescaped; any other reference is a fault of the package."""
    out, i = "", 0
    while i < len(text):
        if text.startswith("[\\", i) and text[i + 3:i + 4] == "]":
            out, i = out + text[i + 2], i + 4
        elif text.startswith("[#", i):
            end = text.index("]", i)
            out, i = out + files[text[i + 2:end]], end + 1
        elif text.startswith("[INSTALLFOLDER]", i):
            out, i = out + folder, i + len("[INSTALLFOLDER]")
        elif text[i] in "[]":
            raise Failure("a Registry value with an unknown reference: %r" % text)
        else:
            out, i = out + text[i], i + 1
    return out


def row_entries(msi, files, folder):
    """{(key, value name), lower case: data as reg export shows it} for every Registry row, with
    [#File] as files[File] and [INSTALLFOLDER] as folder."""
    entries = {}
    for _, root, key, name, value, _ in table(msi, "Registry"):
        if root not in ROOTS:
            raise Failure("a Registry row with the root %s (%s\\%s)" % (root, key, name))
        if name in ("+", "-", "*"):
            raise Failure("a key-only Registry row %s for %s" % (name, key))
        if value.startswith("#") and not value.startswith("##"):
            data = "dword:%08x" % int(value[1:])
        else:
            # No value is the empty text (Windows Installer has no other way to write one).
            data = formatted(value[1:] if value.startswith("##") else value, files, folder)
        entries[((ROOTS[root] + "\\" + key).lower(), name.lower())] = data
    return entries


def written(before, after):
    """{(key, value name): data} of every value that is new or changed from before to after."""
    out = {}
    for key, (_, values) in after.items():
        # The 32-bit view of the shared TypeLib key is the same key, seen twice in an export.
        shared = key.replace("\\wow6432node\\", "\\", 1)
        if shared != key and after.get(shared, (0, None))[1] == values:
            continue
        old = before.get(key, (None, {}))[1]
        for name, data in values.items():
            if old.get(name) != data:
                out[(key, name)] = data
    return out


def snapshot(runner, folder, label):
    keys = {}
    for i, branch in enumerate(BRANCHES):
        keys.update(export(runner, branch, os.path.join(folder, "%s-%d.reg" % (label, i))))
    return keys


class FreshPrefix:
    """A Wine prefix made for one test and removed at its end (with its wineserver)."""

    def __init__(self, path, up):
        self.path, self.up = path, up

    def __enter__(self):
        shutil.rmtree(self.path, ignore_errors=True)
        self.saved = os.environ.get("WINEPREFIX")
        os.environ["WINEPREFIX"] = self.path
        subprocess.run([self.up], check=True, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
        return self

    def __exit__(self, *exc):
        subprocess.run([self.up, "--down"], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
        shutil.rmtree(self.path, ignore_errors=True)
        if self.saved is None:
            os.environ.pop("WINEPREFIX", None)
        else:
            os.environ["WINEPREFIX"] = self.saved
