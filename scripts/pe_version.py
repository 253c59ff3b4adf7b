#!/usr/bin/env python3
"""Prints the file version of a Windows executable, as major.minor.patch, from
the fixed part of its version resource (VS_FIXEDFILEINFO). Exits non-zero
when the file has no version resource."""
import struct
import sys

RT_VERSION = 16
FIXED_SIGNATURE = 0xFEEF04BD


def version_of(data):
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[:2] != b"MZ" or data[pe:pe + 4] != b"PE\0\0":
        raise ValueError("not a PE file")
    sections, optional_size = struct.unpack_from("<H12xH", data, pe + 6)
    optional = pe + 24
    magic = struct.unpack_from("<H", data, optional)[0]
    directories = optional + (112 if magic == 0x20B else 96)
    resource_rva = struct.unpack_from("<I", data, directories + 2 * 8)[0]
    if resource_rva == 0:
        raise ValueError("no resources")

    def offset_of(rva):
        table = optional + optional_size
        for i in range(sections):
            vsize, vaddr, rsize, raw = struct.unpack_from("<IIII", data, table + 40 * i + 8)
            if vaddr <= rva < vaddr + max(vsize, rsize):
                return raw + rva - vaddr
        raise ValueError("address outside every section")

    root = offset_of(resource_rva)

    def entries(directory):
        named, ids = struct.unpack_from("<HH", data, directory + 12)
        for i in range(named + ids):
            yield struct.unpack_from("<II", data, directory + 16 + 8 * i)

    def subdirectory(directory, wanted=None):
        for name, target in entries(directory):
            if wanted is None or name == wanted:
                return root + (target & 0x7FFFFFFF)
        raise ValueError("no version resource")

    # Type, then the first name, then the first language.
    leaf = subdirectory(subdirectory(subdirectory(root, RT_VERSION)))
    data_rva, size = struct.unpack_from("<II", data, leaf)
    start = offset_of(data_rva)
    block = data[start:start + size]
    at = block.find(struct.pack("<I", FIXED_SIGNATURE))
    if at < 0:
        raise ValueError("no fixed file information")
    version_ms, version_ls = struct.unpack_from("<II", block, at + 8)
    return "%d.%d.%d" % (version_ms >> 16, version_ms & 0xFFFF, version_ls >> 16)


if __name__ == "__main__":
    try:
        with open(sys.argv[1], "rb") as f:
            print(version_of(f.read()))
    except (OSError, ValueError, struct.error, IndexError) as error:
        sys.exit("%s: %s" % (sys.argv[1] if len(sys.argv) > 1 else "pe_version.py", error))
