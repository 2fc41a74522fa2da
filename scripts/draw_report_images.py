#!/usr/bin/env python3
"""Draw the inventory report's pictures into resources/, in the style of draw_resources.py:

    report_definition.bmp   the picture of the Inventory Report dialog (bitmap 159)
    vantic.gif              the logo at the top of every HTML report

Standard library only, deterministic: run from the repo root as
    python3 scripts/draw_report_images.py
"""

import os
import struct
import sys

import draw_resources as d

REPORT = 32


def report_definition():
    # sits on the dialog face, so no mask
    c = d.Canvas(REPORT, REPORT, d.SILVER)
    d.page(c, 4, 1, 22, 29, fold=5)
    c.line(7, 4, 16, 4, d.BLUE)
    d.text_lines(c, 7, 8, 14, 3, d.K)
    for i, height in enumerate((5, 9, 7, 11)):
        c.fill(8 + i * 4, 26 - height, 3, height, (d.RED, d.GREEN, d.BLUE, d.OLIVE)[i])
    c.line(7, 26, 22, 26, d.GREY)
    return c


def lzw(indices, min_size):
    """GIF's variable-length LZW over palette indices, least significant bit first."""
    clear, end = 1 << min_size, (1 << min_size) + 1
    table = {(i,): i for i in range(clear)}
    size, next_code = min_size + 1, end + 1
    out, acc, nbits = bytearray(), 0, 0

    def put(code):
        nonlocal acc, nbits
        acc |= code << nbits
        nbits += size
        while nbits >= 8:
            out.append(acc & 0xFF)
            acc >>= 8
            nbits -= 8

    put(clear)
    word = ()
    for k in indices:
        grown = word + (k,)
        if grown in table:
            word = grown
            continue
        put(table[word])
        if next_code < 4096:
            table[grown] = next_code
            next_code += 1
            if next_code > (1 << size) and size < 12:
                size += 1
        else:
            put(clear)
            table = {(i,): i for i in range(clear)}
            size, next_code = min_size + 1, end + 1
        word = (k,)
    put(table[word])
    put(end)
    if nbits:
        out.append(acc & 0xFF)
    return bytes(out)


def gif_bytes(c):
    pixels = [v or 0 for row in c.px for v in row]
    palette = b''.join(bytes(rgb) for rgb in d.PALETTE)
    data = lzw(pixels, 4)
    blocks = b''.join(bytes((len(data[i:i + 255]),)) + data[i:i + 255]
                      for i in range(0, len(data), 255))
    return (b'GIF89a' + struct.pack('<HHBBB', c.w, c.h, 0xF3, 0, 0) + palette +
            b',' + struct.pack('<HHHHB', 0, 0, c.w, c.h, 0) + bytes((4,)) + blocks + b'\x00;')


def main():
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'resources')
    outputs = {
        'report_definition.bmp': d.bmp_bytes(report_definition()),
        'vantic.gif': gif_bytes(d.logo()),
    }
    d.check_bmp(outputs['report_definition.bmp'], REPORT, REPORT)
    for name, data in outputs.items():
        with open(os.path.join(root, name), 'wb') as f:
            f.write(data)
    return 0


if __name__ == '__main__':
    sys.exit(main())
