#!/usr/bin/env python3
"""Reads the export directory of a PE file (32- or 64-bit) and fails unless it names exactly the given
functions, each by name: another program may call what an executable exports, so nothing else may leak
into the table (a static library whose header marks its functions for export, a stray declaration).

Usage: check-exports.py FILE NAME...
"""
import struct
import sys


def export_names(data):
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        raise ValueError("not a PE file")
    sections, optional_size = struct.unpack_from("<H12xH", data, pe + 6)
    optional = pe + 24
    magic = struct.unpack_from("<H", data, optional)[0]
    directories = optional + {0x10B: 96, 0x20B: 112}[magic]
    export_rva, _ = struct.unpack_from("<II", data, directories)
    table = [struct.unpack_from("<8xIIII", data, optional + optional_size + 40 * i) for i in range(sections)]

    def offset(rva):
        for size, address, raw_size, raw in table:
            if address <= rva < address + max(size, raw_size):
                return raw + rva - address
        raise ValueError(f"RVA {rva:#x} lies in no section")

    if export_rva == 0:
        return 0, []
    functions, count, _, names = struct.unpack_from("<IIII", data, offset(export_rva) + 20)

    def text(rva):
        at = offset(rva)
        return data[at:data.index(b"\0", at)].decode("ascii", "replace")

    return functions, [text(struct.unpack_from("<I", data, offset(names) + 4 * i)[0]) for i in range(count)]


def main():
    path, expected = sys.argv[1], sorted(sys.argv[2:])
    with open(path, "rb") as f:
        functions, names = export_names(f.read())
    problems = [f"exported but not expected: {n}" for n in sorted(set(names) - set(expected))]
    problems += [f"expected but not exported: {n}" for n in sorted(set(expected) - set(names))]
    if functions != len(names):
        problems.append(f"{functions} exported functions for {len(names)} names: some are exported by ordinal only")
    for problem in problems:
        print(f"{path}: {problem}", file=sys.stderr)
    print(f"{path}: {len(names)} exports" + ("" if problems else ", as expected"))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
