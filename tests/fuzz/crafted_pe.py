#!/usr/bin/env python3
"""Writes PE32 files whose import tables, ordinary or delay-load, are built to take memory or
time: thousands of descriptors naming one long name, or names that overlap one another; and
an API set schema with a few contracts.

    crafted_pe.py OUT_DIR [SIZE]   the files, each about SIZE bytes (default 131072)
"""
import os
import struct
import sys

HEADERS = 0x200      # SizeOfHeaders and the section's file offset
SECTION_RVA = 0x1000
DESCRIPTOR = 20
DELAY_DESCRIPTOR = 32


def image(name_rvas, names_blob, delay=False):
    """A PE32 file with one section holding the descriptors (delay-load ones, with the RVA
    attribute, when delay), then names_blob."""
    count = len(name_rvas)
    size = DELAY_DESCRIPTOR if delay else DESCRIPTOR
    layout = "<II24x" if delay else "<12xI4x"
    table = b"".join(struct.pack(layout, *((1, rva) if delay else (rva,))) for rva in name_rvas)
    table += bytes(size)
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
    directory = optional + (200 if delay else 104)
    struct.pack_into("<II", out, directory, SECTION_RVA, size * (count + 1))
    section = optional + 224
    out[section:section + 8] = b".idata\0\0"
    struct.pack_into("<IIII", out, section + 8, len(raw), SECTION_RVA, len(raw), HEADERS)
    return bytes(out) + raw


def names_rva(count, size=DESCRIPTOR):
    """The RVA just after count descriptors and their terminator."""
    return SECTION_RVA + size * (count + 1)


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


def delay_names(size):
    """Delay-load descriptors, each naming its own short name."""
    count = max(1, (size - HEADERS) // (DELAY_DESCRIPTOR + 13) - 1)
    base = names_rva(count, DELAY_DESCRIPTOR)
    blob = b"".join(b"d%010d\0" % i for i in range(count))
    return image([base + 12 * i for i in range(count)], blob, delay=True)


def api_set_schema(contracts):
    """A version 6 schema: contracts maps a name to its hosts, the first the default and the
    others (importer, host) pairs."""
    header, entry, value = 28, 24, 20
    strings = bytearray()
    entries, values = [], []
    base = header + entry * len(contracts)
    value_base = base
    value_count = sum(len(hosts) for hosts in contracts.values())
    text_base = value_base + value * value_count

    def text(s):
        at = text_base + len(strings)
        strings.extend(s.encode("utf-16-le"))
        return at, len(s) * 2

    for name, hosts in contracts.items():
        at, length = text(name)
        entries.append(struct.pack("<IIIIII", 0, at, length, name.rfind("-") * 2,
                                   value_base + value * len(values), len(hosts)))
        for i, host in enumerate(hosts):
            importer, target = ("", host) if i == 0 else host
            importer_at, importer_length = text(importer)
            target_at, target_length = text(target)
            values.append(struct.pack("<IIIII", 0, importer_at, importer_length, target_at,
                                      target_length))
    total = text_base + len(strings)
    return (struct.pack("<IIIIIII", 6, total, 0, len(contracts), header, 0, 0) +
            b"".join(entries) + b"".join(values) + bytes(strings))


def main():
    out_dir = sys.argv[1]
    size = int(sys.argv[2]) if len(sys.argv) > 2 else 131072
    os.makedirs(out_dir, exist_ok=True)
    files = {
        "crafted-shared-long-name.dll": shared_name(size, size // 2),
        "crafted-shared-path-name.dll": shared_name(size, 259),
        "crafted-sliding-names.dll": sliding_names(size),
        "crafted-delay-names.dll": delay_names(size),
        "crafted-api-set-schema.bin": api_set_schema({
            "api-ms-win-core-synch-l1-2-0": ["kernelbase.dll", ("kernel32.dll", "kernel32.dll")],
            "api-ms-win-deprecated-apis-legacy-l1-1-0": [""],
            "ext-ms-win-gdi-draw-l1-1-1": ["gdi32.dll"]}),
    }
    for name, data in files.items():
        with open(os.path.join(out_dir, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
