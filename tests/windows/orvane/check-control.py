#!/usr/bin/python3
"""What Orvane.ocx carries as a control, read from the 32-bit file without running it: the
type library flagged as holding controls, and the toolbox picture, bitmap 30000 of 16 x 15
pixels in 16 colours; both the same in the 64-bit file.

  check-control.py OCX32 OCX64
"""
import struct
import sys

import pefile

LIBFLAG_FCONTROL = 0x2
RT_BITMAP = 2


def resource(pe, type_id, res_id):
    if not hasattr(pe, "DIRECTORY_ENTRY_RESOURCE"):
        return None
    for entry in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        name = str(entry.name) if entry.name is not None else entry.id
        if name != type_id:
            continue
        for item in entry.directory.entries:
            if item.id == res_id and item.directory.entries:
                data = item.directory.entries[0].data.struct
                return pe.get_data(data.OffsetToData, data.Size)
    return None


def facts(path):
    pe = pefile.PE(path)
    typelib = resource(pe, "TYPELIB", 1)
    bitmap = resource(pe, RT_BITMAP, 30000)
    flags = struct.unpack_from("<21i", typelib, 0)[7] if typelib and typelib[:4] == b"MSFT" else None
    # A bitmap resource is the file without its BITMAPFILEHEADER: width, height, planes, bits.
    header = struct.unpack_from("<IiiHH", bitmap, 0) if bitmap and len(bitmap) >= 16 else None
    return flags, header and header[1:]


def main(ocx32, ocx64):
    failures = 0
    f32, f64 = facts(ocx32), facts(ocx64)
    for what, ok, got in (
            ("type library flagged as holding controls", f32[0] is not None and f32[0] & LIBFLAG_FCONTROL, f32[0]),
            ("bitmap 30000: 16 x 15 pixels, 16 colours", f32[1] == (16, 15, 1, 4), f32[1]),
            ("the same in the 64-bit file", f32 == f64, f64)):
        print(("ok   " if ok else "FAIL ") + what + ("" if ok else ": %r" % (got,)))
        failures += 0 if ok else 1
    return 1 if failures else 0


if __name__ == "__main__":
    if len(sys.argv) != 3:
        print(__doc__)
        sys.exit(2)
    sys.exit(main(sys.argv[1], sys.argv[2]))
