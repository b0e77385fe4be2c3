#!/usr/bin/python3
"""Checks a 32-bit COM server without running it (these machines run no 32-bit code): PE32
for i386, the four exports, no MinGW runtime DLL imported, the version resource, and the
embedded type library; every field the same as in the 64-bit file, which the other tests run.
The expected identities are Falcrest.dll's unless options name another file's.

  check-pe32.py [--libid GUID] [--typelib NAME] [--version MAJOR.MINOR] [--help-string TEXT]
                [--description TEXT] [--internal-name NAME] [--filename FILE] DLL32 DLL64
"""
import argparse
import struct
import sys
import uuid

import pefile

MACHINE_I386, MACHINE_AMD64 = 0x14C, 0x8664
PE32, PE32_PLUS = 0x10B, 0x20B
SYS_WIN32, SYS_WIN64 = 1, 3
EXPORTS = {"DllRegisterServer", "DllUnregisterServer", "DllGetClassObject", "DllCanUnloadNow"}
LIBID = "5dbf2584-3a6b-47af-a381-2f71d66fb346"
DESCRIPTION = "Tarvanel Reminder Add-In Library"
TYPELIB_NAME, TYPELIB_VERSION, TYPELIB_HELP = "Falcrest", (211, 0), "tarvanel Reminder Add-In Library"
INTERNAL_NAME, FILENAME = "Falcrest", "Falcrest.dll"


def expected_strings():
    return {"FileDescription": DESCRIPTION, "Comments": DESCRIPTION, "ProductName": DESCRIPTION,
            "InternalName": INTERNAL_NAME, "OriginalFilename": FILENAME, "FileVersion": "1.00.0002",
            "ProductVersion": "1.00.0002", "OLESelfRegister": ""}
RUNTIME_DLLS = ("libstdc++", "libgcc", "libwinpthread")

failures = []


def check(what, ok, detail=""):
    print(("ok   " if ok else "FAIL ") + what + ("" if ok or not detail else ": " + detail))
    if not ok:
        failures.append(what)


def resource(pe, type_name, res_id):
    """The bytes of a resource by type (a name or a number) and number, any language."""
    if not hasattr(pe, "DIRECTORY_ENTRY_RESOURCE"):
        return None
    for entry in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        name = str(entry.name) if entry.name is not None else entry.id
        if name != type_name:
            continue
        for item in entry.directory.entries:
            if item.id == res_id and item.directory.entries:
                data = item.directory.entries[0].data.struct
                return pe.get_data(data.OffsetToData, data.Size)
    return None


def version_info(pe):
    """Fixed fields, string table (language, entries) and translation of the version resource."""
    if not hasattr(pe, "VS_FIXEDFILEINFO"):
        return None
    fixed = pe.VS_FIXEDFILEINFO[0]
    info = {"FileVersion": (fixed.FileVersionMS, fixed.FileVersionLS),
            "ProductVersion": (fixed.ProductVersionMS, fixed.ProductVersionLS),
            "FileOS": fixed.FileOS, "FileType": fixed.FileType, "strings": None, "translation": None}
    for group in pe.FileInfo:
        for block in group:
            if block.Key == b"StringFileInfo":
                table = block.StringTable[0]
                info["strings"] = (table.LangID.decode().lower(),
                                   {k.decode(): v.decode() for k, v in table.entries.items()})
            elif block.Key == b"VarFileInfo":
                info["translation"] = block.Var[0].entry.get(b"Translation") if block.Var else None
    return info


def type_library(data):
    """Identity of an MSFT type library, and its GUID and name tables (equal across platforms)."""
    if data is None or data[:4] != b"MSFT":
        return None
    h = struct.unpack_from("<21i", data, 0)
    posguid, lcid, varflags, version, ntypeinfos, helpstring, nameoffset = h[2], h[3], h[5], h[6], h[8], h[9], h[14]
    offset = 0x54 + (4 if varflags & 0x100 else 0) + 4 * ntypeinfos
    segments = [struct.unpack_from("<2i", data, offset + 16 * i) for i in range(15)]
    guid_at, guid_size = segments[5]
    name_at, name_size = segments[7]
    string_at = segments[8][0]

    def name(at):
        length = struct.unpack_from("<i", data, name_at + at + 8)[0] & 0xFF
        return data[name_at + at + 12:name_at + at + 12 + length].decode("latin-1")

    names, at = [], 0
    while at < name_size:
        names.append(name(at))
        at += 12 + (len(names[-1]) + 3) // 4 * 4
    guids = {str(uuid.UUID(bytes_le=data[guid_at + i:guid_at + i + 16])) for i in range(0, guid_size, 24)}
    help_length = struct.unpack_from("<h", data, string_at + helpstring)[0] if helpstring >= 0 else 0
    return {"libid": str(uuid.UUID(bytes_le=data[guid_at + posguid:guid_at + posguid + 16])),
            "version": (version & 0xFFFF, version >> 16), "lcid": lcid, "syskind": varflags & 0xF,
            "name": name(nameoffset), "help": data[string_at + helpstring + 2:string_at + helpstring + 2 + help_length]
            .decode("latin-1"), "typeinfos": ntypeinfos, "guids": guids, "names": sorted(names)}


def facts(path):
    pe = pefile.PE(path)
    exports = {s.name.decode() for s in pe.DIRECTORY_ENTRY_EXPORT.symbols if s.name} \
        if hasattr(pe, "DIRECTORY_ENTRY_EXPORT") else set()
    imports = [i.dll.decode().lower() for i in pe.DIRECTORY_ENTRY_IMPORT] if hasattr(pe, "DIRECTORY_ENTRY_IMPORT") else []
    return {"machine": pe.FILE_HEADER.Machine, "magic": pe.OPTIONAL_HEADER.Magic,
            "dll": bool(pe.FILE_HEADER.Characteristics & 0x2000), "exports": exports, "imports": imports,
            "version": version_info(pe), "typelib": type_library(resource(pe, "TYPELIB", 1))}


def main(dll32, dll64):
    try:
        f32 = facts(dll32)
    except (OSError, pefile.PEFormatError) as e:
        print("FAIL cannot read the 32-bit file %s (%s): build it with cmake --preset win32 first" % (dll32, e))
        return 1
    try:
        f64 = facts(dll64)
    except (OSError, pefile.PEFormatError) as e:
        print("FAIL cannot read the 64-bit file %s (%s)" % (dll64, e))
        return 1

    check("PE32 for i386", (f32["machine"], f32["magic"]) == (MACHINE_I386, PE32),
          "machine 0x%X, optional header 0x%X" % (f32["machine"], f32["magic"]))
    check("the 64-bit file is PE32+ for x86-64", (f64["machine"], f64["magic"]) == (MACHINE_AMD64, PE32_PLUS))
    check("a DLL", f32["dll"])
    check("exports exactly the four entry points, undecorated", f32["exports"] == EXPORTS, str(sorted(f32["exports"])))
    runtime = [d for d in f32["imports"] if d.startswith(RUNTIME_DLLS)]
    check("imports no MinGW runtime DLL", not runtime, str(runtime))

    v32, v64 = f32["version"], f64["version"]
    check("has a version resource", v32 is not None)
    if v32:
        check("file and product version 1.0.0.2",
              v32["FileVersion"] == v32["ProductVersion"] == (0x00010000, 0x00000002),
              "%s, %s" % (v32["FileVersion"], v32["ProductVersion"]))
        check("for 32-bit Windows, a DLL", v32["FileOS"] & 0xFFFF == 0x4 and v32["FileType"] == 2,
              "FileOS 0x%X, FileType %d" % (v32["FileOS"], v32["FileType"]))
        check("translation US English, Unicode", v32["translation"] == "0x0409 0x04b0", str(v32["translation"]))
        lang, strings = v32["strings"] or ("", {})
        check("string table 040904B0", lang == "040904b0", lang)
        wrong = {k: strings.get(k) for k, v in expected_strings().items() if strings.get(k) != v}
        check("version strings, OLESelfRegister empty", not wrong, str(wrong))
        check("version resource the same as the 64-bit file's", v32 == v64, "32-bit %s\n     64-bit %s" % (v32, v64))

    t32, t64 = f32["typelib"], f64["typelib"]
    check("TYPELIB resource 1 holds a type library", t32 is not None)
    if t32:
        check("type library %s %s, version %d.%d, locale 0x409" % ((TYPELIB_NAME, LIBID) + TYPELIB_VERSION),
              (t32["libid"], t32["version"], t32["lcid"], t32["name"]) == (LIBID, TYPELIB_VERSION, 0x409, TYPELIB_NAME),
              "%s %s 0x%X %s" % (t32["libid"], t32["version"], t32["lcid"], t32["name"]))
        check("type library help string", t32["help"] == TYPELIB_HELP, repr(t32["help"]))
        check("type library for 32-bit Windows", t32["syskind"] == SYS_WIN32, "syskind %d" % t32["syskind"])
        check("the 64-bit file's type library is for 64-bit Windows", t64 is not None and t64["syskind"] == SYS_WIN64)
        same = t64 is not None and all(t32[k] == t64[k] for k in
                                       ("libid", "version", "lcid", "name", "help", "typeinfos", "guids", "names"))
        check("type library the same as the 64-bit file's (identities, types, names)", same)

    print("%s: %d failed" % (dll32, len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    parser = argparse.ArgumentParser(usage=__doc__)
    parser.add_argument("--libid", default=LIBID)
    parser.add_argument("--typelib", default=TYPELIB_NAME)
    parser.add_argument("--version", default="%d.%d" % TYPELIB_VERSION)
    parser.add_argument("--help-string", default=TYPELIB_HELP)
    parser.add_argument("--description", default=DESCRIPTION)
    parser.add_argument("--internal-name", default=INTERNAL_NAME)
    parser.add_argument("--filename", default=FILENAME)
    parser.add_argument("dll32")
    parser.add_argument("dll64")
    args = parser.parse_args()
    LIBID, TYPELIB_NAME, TYPELIB_HELP = args.libid.strip("{}").lower(), args.typelib, args.help_string
    TYPELIB_VERSION = tuple(int(n) for n in args.version.split("."))
    DESCRIPTION, INTERNAL_NAME, FILENAME = args.description, args.internal_name, args.filename
    sys.exit(main(args.dll32, args.dll64))
