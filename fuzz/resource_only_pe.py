#!/usr/bin/env python3
"""Writes a small PE that keeps only the headers and the resource section of
a real one, so that real resource trees fit a fuzz seed.

    resource_only_pe.py IN OUT [MAX_BYTES]

Exits with 1 (and writes nothing) when IN has no resource section or the
result would exceed MAX_BYTES (default 65536)."""
import struct
import sys


def main():
    source, target = sys.argv[1], sys.argv[2]
    limit = int(sys.argv[3]) if len(sys.argv) > 3 else 65536
    data = open(source, "rb").read()
    if data[:2] != b"MZ":
        return 1
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        return 1
    sections, = struct.unpack_from("<H", data, pe + 6)
    optional_size, = struct.unpack_from("<H", data, pe + 20)
    magic, = struct.unpack_from("<H", data, pe + 24)
    directories = pe + 24 + (96 if magic == 0x10B else 112)
    resource_rva, = struct.unpack_from("<I", data, directories + 2 * 8)
    table = pe + 24 + optional_size
    for i in range(sections):
        at = table + i * 40
        va, raw_size, raw_offset = struct.unpack_from("<III", data, at + 12)
        if va <= resource_rva < va + raw_size:
            break
    else:
        return 1
    headers_end = (table + 40 + 511) // 512 * 512
    out = bytearray(data[:table + 40])
    out[table:table + 40] = data[at:at + 40]
    struct.pack_into("<H", out, pe + 6, 1)
    struct.pack_into("<I", out, table + 20, headers_end)
    out += bytes(headers_end - len(out))
    out += data[raw_offset:raw_offset + raw_size]
    if len(out) > limit:
        return 1
    open(target, "wb").write(out)
    return 0


if __name__ == "__main__":
    sys.exit(main())
