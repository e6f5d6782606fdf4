#!/usr/bin/env python3
"""Sets type flags that widl has no attribute for (such as TYPEFLAG_FPREDECLID) on chosen
type infos of an MSFT type library, in place.

usage: tlb_set_typeflags.py LIB.tlb --or-flags 0x8 GUID [GUID ...]
"""
import argparse
import struct
import sys
import uuid

HEADER_SIZE = 0x54
HELPDLL_FLAG = 0x100
SEGMENTS = 15
TYPEINFO_SEG, GUID_SEG = 0, 5
TI_POSGUID, TI_FLAGS = 0x2C, 0x30


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("tlb")
    ap.add_argument("--or-flags", required=True, type=lambda s: int(s, 0))
    ap.add_argument("guids", nargs="+")
    args = ap.parse_args()

    data = bytearray(open(args.tlb, "rb").read())
    if data[:4] != b"MSFT":
        sys.exit(f"{args.tlb}: not an MSFT type library")
    varflags, = struct.unpack_from("<I", data, 0x14)
    count, = struct.unpack_from("<i", data, 0x20)
    pos = HEADER_SIZE + (4 if varflags & HELPDLL_FLAG else 0)
    ti_offsets = struct.unpack_from(f"<{count}i", data, pos)
    pos += 4 * count
    segdir = [struct.unpack_from("<iiii", data, pos + 16 * i) for i in range(SEGMENTS)]
    ti_base, guid_base = segdir[TYPEINFO_SEG][0], segdir[GUID_SEG][0]

    wanted = {uuid.UUID(g).bytes_le for g in args.guids}
    for off in ti_offsets:
        ti = ti_base + off
        posguid, = struct.unpack_from("<i", data, ti + TI_POSGUID)
        if posguid < 0:
            continue
        guid = bytes(data[guid_base + posguid: guid_base + posguid + 16])
        if guid in wanted:
            flags, = struct.unpack_from("<I", data, ti + TI_FLAGS)
            struct.pack_into("<I", data, ti + TI_FLAGS, flags | args.or_flags)
            wanted.discard(guid)
    if wanted:
        sys.exit(f"{args.tlb}: no type info for " + ", ".join(str(uuid.UUID(bytes_le=g)) for g in wanted))
    open(args.tlb, "wb").write(bytes(data))


if __name__ == "__main__":
    main()
