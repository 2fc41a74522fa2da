#!/usr/bin/env python3
"""Writes PE32 files whose import tables are built to take memory or time: thousands of
descriptors naming one long name, or names that overlap one another.

    crafted_pe.py OUT_DIR [SIZE]   the files, each about SIZE bytes (default 131072)
"""
import os
import struct
import sys

HEADERS = 0x200      # SizeOfHeaders and the section's file offset
SECTION_RVA = 0x1000
DESCRIPTOR = 20


def image(name_rvas, names_blob):
    """A PE32 file with one section holding the descriptors, then names_blob."""
    count = len(name_rvas)
    table = b"".join(struct.pack("<12xI4x", rva) for rva in name_rvas) + bytes(DESCRIPTOR)
    raw = table + names_blob
    raw += bytes(-len(raw) % 0x200)

    pe = 0x40
    out = bytearray(HEADERS)
    out[0:2] = b"MZ"
    struct.pack_into("<I", out, 60, pe)
    out[pe:pe + 4] = b"PE\0\0"
    struct.pack_into("<HH", out, pe + 4, 0x14C, 1)         # machine, one section
    struct.pack_into("<H", out, pe + 20, 224)              # SizeOfOptionalHeader
    optional = pe + 24
    struct.pack_into("<H", out, optional, 0x10B)
    struct.pack_into("<I", out, optional + 60, HEADERS)    # SizeOfHeaders
    struct.pack_into("<I", out, optional + 92, 16)         # NumberOfRvaAndSizes
    struct.pack_into("<II", out, optional + 104, SECTION_RVA, DESCRIPTOR * (count + 1))
    section = optional + 224
    out[section:section + 8] = b".idata\0\0"
    struct.pack_into("<IIII", out, section + 8, len(raw), SECTION_RVA, len(raw), HEADERS)
    return bytes(out) + raw


def names_rva(count):
    """The RVA just after count descriptors and their terminator."""
    return SECTION_RVA + DESCRIPTOR * (count + 1)


def shared_name(size, length):
    """Every descriptor names the same text of the given length."""
    count = max(1, (size - HEADERS - length) // DESCRIPTOR - 1)
    return image([names_rva(count)] * count, b"n" * length + b"\0")


def sliding_names(size):
    """Runs of 259 letters; descriptor i names run i // 260 from its (i % 260)th letter on, so
    that every name is different and none is longer than a path."""
    count = max(1, (size - HEADERS) // (DESCRIPTOR + 1) - 1)
    runs = count // 260 + 1
    base = names_rva(count)
    rvas = [base + (i // 260) * 260 + i % 260 for i in range(count)]
    return image(rvas, (b"s" * 259 + b"\0") * runs)


def main():
    out_dir = sys.argv[1]
    size = int(sys.argv[2]) if len(sys.argv) > 2 else 131072
    os.makedirs(out_dir, exist_ok=True)
    files = {
        "crafted-shared-long-name.dll": shared_name(size, size // 2),
        "crafted-shared-path-name.dll": shared_name(size, 259),
        "crafted-sliding-names.dll": sliding_names(size),
    }
    for name, data in files.items():
        with open(os.path.join(out_dir, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
