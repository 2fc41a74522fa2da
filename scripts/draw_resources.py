#!/usr/bin/env python3
"""Draw Corvane's toolbar bitmaps, icons, object list images and logo into resources/

Standard library only, deterministic: run from the repo root as
    python3 scripts/draw_resources.py
Everything is drawn in the 16-colour VGA palette so the images stay exact on
any display depth.
"""

import math
import os
import struct
import sys

# Windows' order of the 16 VGA colours; index = palette entry.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
K, DRED, DGRN, OLIVE, NAVY, PURPLE, TEAL, SILVER = range(8)
GREY, RED, GREEN, YELLOW, BLUE, MAGENTA, CYAN, WHITE = range(8, 16)

# Letters for pattern strings; '.' leaves the pixel alone.
KEY = {'K': K, 'r': DRED, 'g': DGRN, 'o': OLIVE, 'n': NAVY, 'p': PURPLE,
       't': TEAL, 's': SILVER, 'd': GREY, 'R': RED, 'G': GREEN, 'Y': YELLOW,
       'B': BLUE, 'M': MAGENTA, 'C': CYAN, 'W': WHITE}

FONT3X5 = {
    'D': ["KK.", "K.K", "K.K", "K.K", "KK."],
    'L': ["K..", "K..", "K..", "K..", "KKK"],
    'P': ["KK.", "K.K", "KK.", "K..", "K.."],
    'I': ["KKK", ".K.", ".K.", ".K.", "KKK"],
    'T': ["KKK", ".K.", ".K.", ".K.", ".K."],
    'B': ["KK.", "K.K", "KK.", "K.K", "KK."],
    '0': [".K.", "K.K", "K.K", "K.K", ".K."],
    '1': [".K.", "KK.", ".K.", ".K.", "KKK"],
}

TB_W, TB_H = 16, 15


# ---------------------------------------------------------------- toolkit

class Canvas:
    """A grid of palette indices; None is transparent (icons only)."""

    def __init__(self, w, h, bg=None):
        self.w, self.h = w, h
        self.px = [[bg] * w for _ in range(h)]

    def set(self, x, y, c):
        if c is not None and 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def get(self, x, y):
        if 0 <= x < self.w and 0 <= y < self.h:
            return self.px[y][x]
        return None

    def line(self, x0, y0, x1, y1, c):
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx, sy = (1 if x0 < x1 else -1), (1 if y0 < y1 else -1)
        err = dx + dy
        while True:
            self.set(x0, y0, c)
            if x0 == x1 and y0 == y1:
                return
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    def fill(self, x, y, w, h, c):
        for j in range(y, y + h):
            for i in range(x, x + w):
                self.set(i, j, c)

    def rect(self, x, y, w, h, c):
        self.line(x, y, x + w - 1, y, c)
        self.line(x, y + h - 1, x + w - 1, y + h - 1, c)
        self.line(x, y, x, y + h - 1, c)
        self.line(x + w - 1, y, x + w - 1, y + h - 1, c)

    def box(self, x, y, w, h, face, edge=K):
        self.fill(x, y, w, h, face)
        self.rect(x, y, w, h, edge)

    def pattern(self, x, y, rows, key=None):
        key = key or KEY
        for j, row in enumerate(rows):
            for i, ch in enumerate(row):
                if ch in key:
                    self.set(x + i, y + j, key[ch])

    def text(self, x, y, s, c):
        for ch in s:
            glyph = FONT3X5[ch]
            self.pattern(x, y, glyph, {'K': c})
            x += 4

    def paint(self, pts, c):
        for (x, y) in pts:
            self.set(x, y, c)

    def solid(self, pts, face, edge=K, light=None, dark=None):
        """Fill a shape, outline it inside its own boundary, bevel it
        (light from the top left) just inside the outline."""
        pts = set(pts)
        rim = boundary(pts)
        inner = pts - rim
        self.paint(inner, face)
        if light is not None or dark is not None:
            for (x, y) in boundary(inner):
                if dark is not None and ((x + 1, y) not in inner or (x, y + 1) not in inner):
                    self.set(x, y, dark)
                elif light is not None and ((x - 1, y) not in inner or (x, y - 1) not in inner):
                    self.set(x, y, light)
        self.paint(rim, edge)

    def haloed(self, pts, face, edge=K):
        """Fill a shape and ring it with a 1-pixel outline outside it."""
        pts = set(pts)
        self.paint(halo(pts), edge)
        self.paint(pts, face)

    def blit(self, other, x, y):
        for j in range(other.h):
            for i in range(other.w):
                self.set(x + i, y + j, other.px[j][i])


def boundary(pts):
    return {(x, y) for (x, y) in pts
            if any(n not in pts for n in ((x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1)))}


def halo(pts):
    out = set()
    for (x, y) in pts:
        for dx in (-1, 0, 1):
            for dy in (-1, 0, 1):
                if (x + dx, y + dy) not in pts:
                    out.add((x + dx, y + dy))
    return out


def disc(cx, cy, r):
    """Pixels whose centres lie within r of (cx, cy)."""
    return {(x, y) for x in range(int(cx - r) - 1, int(cx + r) + 2)
            for y in range(int(cy - r) - 1, int(cy + r) + 2)
            if (x - cx) ** 2 + (y - cy) ** 2 <= r * r + 0.01}


def rect_pts(x, y, w, h):
    return {(i, j) for i in range(x, x + w) for j in range(y, y + h)}


def poly(points):
    """Pixels whose centres fall inside a polygon (even-odd rule)."""
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    out = set()
    for y in range(int(min(ys)) - 1, int(max(ys)) + 2):
        for x in range(int(min(xs)) - 1, int(max(xs)) + 2):
            inside = False
            n = len(points)
            for i in range(n):
                (x0, y0), (x1, y1) = points[i], points[(i + 1) % n]
                if (y0 > y) != (y1 > y):
                    xc = x0 + (y - y0) * (x1 - x0) / (y1 - y0)
                    if x < xc:
                        inside = not inside
            if inside:
                out.add((x, y))
    return out


def thick_line(x0, y0, x1, y1, r):
    """Pixels within r of a segment: a capsule."""
    out = set()
    lx, ly = x1 - x0, y1 - y0
    ll = lx * lx + ly * ly
    for x in range(int(min(x0, x1) - r) - 1, int(max(x0, x1) + r) + 2):
        for y in range(int(min(y0, y1) - r) - 1, int(max(y0, y1) + r) + 2):
            t = 0 if ll == 0 else max(0, min(1, ((x - x0) * lx + (y - y0) * ly) / ll))
            px, py = x0 + t * lx, y0 + t * ly
            if (x - px) ** 2 + (y - py) ** 2 <= r * r + 0.01:
                out.add((x, y))
    return out


def pts_from(rows, x=0, y=0, ch='#'):
    return {(x + i, y + j) for j, row in enumerate(rows) for i, c in enumerate(row) if c == ch}


# ---------------------------------------------------------------- parts

def page(c, x, y, w, h, fold=3, face=WHITE, fold_face=SILVER):
    """A sheet with a dog-eared top right corner."""
    x1, y1 = x + w - 1, y + h - 1
    fx = x1 - fold
    body = {(i, j) for i in range(x, x1 + 1) for j in range(y, y1 + 1)
            if not (i > fx and j - y < i - fx)}
    c.solid(body, face, K)
    for i in range(fx + 1, x1):
        for j in range(y + i - fx + 1, y + fold):
            c.set(i, j, fold_face)
    c.line(fx, y, fx, y + fold, K)
    c.line(fx, y + fold, x1, y + fold, K)


def text_lines(c, x, y, w, rows, colour=GREY, step=2):
    for k in range(rows):
        c.line(x, y + k * step, x + w - 1 - (k * 3) % 4, y + k * step, colour)


def cube7(c, x, y, top=CYAN, front=BLUE, side=NAVY, glint=WHITE):
    c.pattern(x, y, [
        "..KKKKK",
        ".KWTTKK",
        "KKKKKSK",
        "KFFFKSK",
        "KFFFKSK",
        "KFFFKK.",
        "KKKKK..",
    ], {'K': K, 'W': glint, 'T': top, 'F': front, 'S': side})


def folder(c, x, y, w, h, open_=True, shine=WHITE):
    # tab and back
    c.box(x, y + 1, w - 2, h - 1, OLIVE)
    c.line(x + 1, y, x + 4, y, K)
    c.set(x, y + 1, K)
    c.fill(x + 1, y + 1, 4, 1, YELLOW)
    c.line(x + 5, y + 1, x + w - 3, y + 1, K)
    if open_:
        # front flap leaning forward
        top = y + 4
        front = poly([(x + 2.5, top - 0.5), (x + w - 0.5, top - 0.5), (x + w - 3.5, y + h - 0.5), (x - 0.5, y + h - 0.5)])
        c.solid(front, YELLOW, K, light=shine)
    else:
        c.fill(x + 1, y + 2, w - 4, h - 3, YELLOW)
        c.line(x + 1, y + 2, x + w - 4, y + 2, shine)


def globe(c, cx, cy, r):
    pts = disc(cx, cy, r)
    c.solid(pts, BLUE, NAVY)
    land = {(x, y) for (x, y) in pts
            if (math.sin(x * 1.3 / r * 3) + math.cos(y * 1.1 / r * 3 + x * 0.4)) > 0.6}
    inner = pts - boundary(pts)
    c.paint(land & inner, GREEN)
    # glint where the light hits
    gx, gy = int(cx - r * 0.45), int(cy - r * 0.5)
    c.set(gx, gy, WHITE)
    c.set(gx + 1, gy, CYAN)
    c.set(gx, gy + 1, CYAN)


def monitor(c, x, y, w, h, screen=TEAL):
    """Case w x h, then a neck and a foot below it."""
    c.box(x, y, w, h, screen)
    c.rect(x, y, w, h, K)
    c.set(x + 1, y + 1, CYAN)
    c.set(x + 2, y + 1, CYAN)
    c.set(x + 1, y + 2, CYAN)
    mid = x + w // 2
    c.set(mid, y + h, GREY)
    if w % 2 == 0:
        c.set(mid - 1, y + h, GREY)
    c.line(x + 1, y + h + 1, x + w - 2, y + h + 1, K)


def small_list(c, x, y, w, h):
    c.box(x, y, w, h, WHITE)
    for j in range(y + 2, y + h - 1, 2):
        c.set(x + 1, j, BLUE)
        c.line(x + 3, j, x + w - 2, j, K)


def check_mark(c, x, y):
    c.haloed(pts_from([
        ".....##",
        "....##.",
        "#..##..",
        "####...",
        ".##....",
    ], x, y), GREEN, DGRN)


def plus(c, x, y, colour=GREEN, edge=DGRN):
    c.haloed(rect_pts(x + 2, y, 2, 6) | rect_pts(x, y + 2, 6, 2), colour, edge)


def cross(c, x, y):
    c.haloed(pts_from([
        "##...##",
        "###.###",
        ".#####.",
        "..###..",
        ".#####.",
        "###.###",
        "##...##",
    ], x, y), RED, DRED)


def down_arrow(c, x, y, colour=GREEN, edge=DGRN):
    c.haloed(pts_from([
        "..###..",
        "..###..",
        "#######",
        ".#####.",
        "..###..",
        "...#...",
    ], x, y), colour, edge)


def window(c, x, y, w, h, body=WHITE):
    c.box(x, y, w, h, body)
    c.fill(x + 1, y + 1, w - 2, 2, NAVY)


# ---------------------------------------------------------------- buttons

def gear_pts(cx, cy, body, tooth, hole, teeth=8):
    pts = set()
    for x in range(int(cx - tooth) - 1, int(cx + tooth) + 2):
        for y in range(int(cy - tooth) - 1, int(cy + tooth) + 2):
            d = math.hypot(x - cx, y - cy)
            a = math.degrees(math.atan2(y - cy, x - cx)) % (360 / teeth)
            near = min(a, 360 / teeth - a) < 360 / teeth / 4.2
            if d <= hole:
                continue
            if d <= body or (d <= tooth and near):
                pts.add((x, y))
    return pts


def b_unregister(c):
    c.solid(gear_pts(6.5, 6.5, 4.3, 6.4, 1.5), SILVER, K, light=WHITE, dark=GREY)
    c.haloed(rect_pts(9, 11, 6, 2), RED, DRED)


def b_remove(c):
    cube7(c, 4, 0)
    cube7(c, 0, 6)
    cube7(c, 6, 6)
    cross(c, 8, 7)


def b_register(c):
    # a component: a chip with legs
    for i in range(3, 11, 2):
        c.line(i, 1, i, 12, GREY)
    c.box(1, 3, 12, 8, NAVY)
    c.rect(1, 3, 12, 8, K)
    c.line(2, 4, 11, 4, BLUE)
    c.set(3, 6, WHITE)
    plus(c, 9, 8)


def b_goto(c):
    folder(c, 0, 2, 16, 12)


def b_browser(c):
    globe(c, 7.5, 7, 6.6)


def b_compare(c):
    for x0, mark in ((0, RED), (8, GREEN)):
        c.box(x0, 1, 8, 13, WHITE)
        for j in (3, 5, 9, 11):
            c.line(x0 + 2, j, x0 + 5, j, GREY)
        c.line(x0 + 2, 7, x0 + 5, 7, mark)


def b_run_exe(c):
    window(c, 0, 1, 12, 11)
    c.haloed(poly([(7.5, 4.5), (7.5, 13.5), (13, 9)]), GREEN, DGRN)


def b_progid(c):
    tag = poly([(0.5, 7), (5, 2.5), (15.5, 2.5), (15.5, 11.5), (5, 11.5)])
    c.solid(tag, YELLOW, K, light=WHITE, dark=OLIVE)
    c.set(4, 7, K)
    c.pattern(8, 4, [
        "NNNN.",
        "NN.NN",
        "NN.NN",
        "NNNN.",
        "NN...",
        "NN...",
    ], {'N': NAVY})


def b_clsid(c):
    brace = [
        "..NN",
        ".NN.",
        ".NN.",
        ".NN.",
        ".NN.",
        ".NN.",
        "NN..",
        ".NN.",
        ".NN.",
        ".NN.",
        ".NN.",
        ".NN.",
        "..NN",
    ]
    c.pattern(1, 1, brace, {'N': NAVY})
    c.pattern(11, 1, [r[::-1] for r in brace], {'N': NAVY})
    for x in (6, 9):
        c.set(x, 11, K)


def b_typelib(c):
    # pages seen at the bottom edge, cover over them
    c.box(3, 10, 11, 4, WHITE)
    c.line(4, 12, 12, 12, SILVER)
    c.solid(rect_pts(2, 0, 12, 12), BLUE, K, light=CYAN, dark=NAVY)
    c.line(4, 1, 4, 10, NAVY)
    c.box(6, 3, 6, 3, WHITE)


def b_fileloc(c):
    page(c, 1, 0, 11, 13)
    text_lines(c, 3, 3, 6, 3)
    c.pattern(7, 8, [
        ".KKKK....",
        "KYYYYKKKK",
        "KWWWWWWWK",
        "KYYYYYYYK",
        "KYYYYYYYK",
        "KYYYYYYoK",
        "KKKKKKKKK",
    ])


def b_refresh(c):
    # two arcs chasing each other; the lower half is the upper turned round
    top = [
        "................",
        ".....#####......",
        "...#######......",
        "..##.....##.....",
        ".##.....#####...",
        ".##......###....",
        ".##.......#.....",
    ]
    pts = pts_from(top)
    pts |= {(15 - x, 14 - y) for (x, y) in pts}
    c.haloed(pts, GREEN, DGRN)


def b_missing(c):
    page(c, 0, 0, 13, 14, fold=2)
    c.text(1, 3, "DLL", NAVY)
    c.pattern(9, 8, [
        ".KKK...",
        "KWCCK..",
        "KCCCK..",
        "KCCtK..",
        ".KKKoK.",
        "....KoK",
        ".....KK",
    ])


def b_report(c):
    page(c, 2, 0, 12, 15)
    c.line(4, 2, 8, 2, BLUE)
    text_lines(c, 4, 5, 7, 2, K)
    # a little bar chart
    for i, hgt in enumerate((2, 4, 3)):
        c.fill(5 + i * 2, 13 - hgt, 1, hgt, (RED, GREEN, BLUE)[i])
    c.line(4, 13, 11, 13, GREY)


def b_options(c):
    window(c, 0, 0, 16, 15, SILVER)
    c.line(1, 3, 14, 3, WHITE)
    c.box(2, 4, 7, 7, WHITE)
    c.pattern(3, 5, [
        ".....",
        "....K",
        "...K.",
        "K.K..",
        ".K...",
    ])
    c.line(10, 6, 13, 6, K)
    c.line(10, 8, 12, 8, GREY)
    # a slider
    c.line(2, 12, 13, 12, GREY)
    c.line(2, 13, 13, 13, WHITE)
    c.box(9, 10, 3, 4, BLUE)


def b_update(c):
    globe(c, 6, 6, 5.6)
    down_arrow(c, 8, 7)


def b_about(c):
    c.solid(disc(7.5, 7, 6.6), BLUE, NAVY, light=CYAN)
    c.fill(7, 3, 2, 2, WHITE)
    c.fill(7, 6, 2, 6, WHITE)
    c.set(6, 6, WHITE)
    c.fill(6, 11, 4, 1, WHITE)


MAIN_BUTTONS = [b_unregister, b_remove, b_register, b_goto, b_browser,
                b_compare, b_run_exe, b_progid, b_clsid, b_typelib,
                b_fileloc, b_refresh, b_missing, b_report, b_options,
                b_update, b_about]


def c_compare_sel(c):
    monitor(c, 0, 0, 9, 6)
    monitor(c, 5, 4, 9, 6)
    check_mark(c, 8, 9)


def c_compare_all(c):
    monitor(c, 0, 0, 9, 6)
    monitor(c, 4, 4, 9, 6)
    small_list(c, 9, 5, 7, 10)


def c_list(c):
    monitor(c, 0, 1, 10, 8)
    small_list(c, 9, 4, 7, 11)


def c_network(c):
    c.line(2, 7, 13, 7, K)
    monitor(c, 4, 0, 8, 5)
    c.fill(1, 7, 3, 1, RED)
    monitor(c, 0, 8, 7, 5)
    monitor(c, 9, 8, 7, 5)
    c.line(3, 7, 12, 7, RED)
    c.line(7, 6, 7, 7, RED)
    c.line(8, 6, 8, 7, RED)


COMPUTER_BUTTONS = [c_compare_sel, c_compare_all, c_list, c_network]


def strip(buttons):
    out = Canvas(TB_W * len(buttons), TB_H, SILVER)
    for i, draw in enumerate(buttons):
        cell = Canvas(TB_W, TB_H, SILVER)
        draw(cell)
        out.blit(cell, i * TB_W, 0)
    return out


# ---------------------------------------------------------------- icons

def iso_cube(c, cx, top, hw, sh):
    a = (cx, top)
    l, r = (cx - hw, top + hw / 2), (cx + hw, top + hw / 2)
    m = (cx, top + hw)
    lb, rb = (cx - hw, top + hw / 2 + sh), (cx + hw, top + hw / 2 + sh)
    b = (cx, top + hw + sh)
    c.paint(poly([a, r, m, l]), CYAN)
    c.paint(poly([l, m, b, lb]), BLUE)
    c.paint(poly([m, r, rb, b]), NAVY)
    ip = lambda p: (int(round(p[0])), int(round(p[1])))
    # highlight the top face's near edges, then outline every edge
    for p, q in ((l, m), (m, r)):
        (x0, y0), (x1, y1) = ip(p), ip(q)
        c.line(x0, y0 + 1, x1, y1 + 1, TEAL if p == m else WHITE)
    for p, q in ((a, l), (a, r), (l, lb), (r, rb), (lb, b), (rb, b), (l, m), (m, r), (m, b)):
        (x0, y0), (x1, y1) = ip(p), ip(q)
        c.line(x0, y0, x1, y1, K)


def app_icon(size):
    c = Canvas(size, size)
    if size >= 32:
        iso_cube(c, 13, 1, 12, 12)
        c.solid(thick_line(22, 22, 29, 29, 2.0), OLIVE, K, light=YELLOW)
        c.solid(disc(20, 20, 7.3), SILVER, K, light=WHITE, dark=GREY)
        c.solid(disc(20, 20, 5.2), CYAN, K)
        for (x, y) in ((17, 17), (18, 17), (17, 18), (19, 16), (16, 19)):
            c.set(x, y, WHITE)
    else:
        # too small for the polygon cube to come out clean: by hand
        c.pattern(0, 0, [
            "......KK........",
            "....KKCCKK......",
            "..KKWCCCCCKK....",
            "KKWCCCCCCCCCKK..",
            "KBKKCCCCCCKKnK..",
            "KBBBKKCCKKnnnK..",
            "KBBBBBKKnnnnnK..",
            "KBBBBBBnnnnnnK..",
            "KBBBBBBnnnnnnK..",
            "KBBBBBBnnnnnnK..",
            "KBBBBBBnnnnnnK..",
            "KBBBBBBnnnnnnK..",
            "KKBBBBBnnnnnKK..",
            "..KKBBBnnnKK....",
            "....KKBnKK......",
            "......KK........",
        ])
        c.solid(thick_line(12, 12, 15, 15, 1.0), OLIVE, K)
        c.solid(disc(10, 10, 3.4), CYAN, K, light=WHITE)
    return c


def wait_icon(size):
    c = Canvas(size, size)
    if size < 32:
        c.pattern(0, 0, [
            ".KKKKKKKKKKKKKK.",
            ".KYooooooooooooK",
            ".KKKKKKKKKKKKKK.",
            "..o.KWWWWWWK.o..",
            "..o.KCYYYYWK.o..",
            "..o..KYYYYK..o..",
            "..o...KYYK...o..",
            "..o...KYYK...o..",
            "..o..KWYYWK..o..",
            "..o.KWWYYWWK.o..",
            "..o.KWYYYYWK.o..",
            "..o.KYYYYYYK.o..",
            ".KKKKKKKKKKKKKK.",
            ".KYooooooooooooK",
            ".KKKKKKKKKKKKKK.",
            "................",
        ])
        return c
    s = size / 32.0
    cx = (size - 1) / 2.0
    bar_h = max(2, int(round(3 * s)))
    top, bot = int(round(1 * s)), size - int(round(1 * s)) - bar_h
    # glass: wide at both ends, a neck in the middle
    g0, g1 = top + bar_h, bot - 1
    mid = (g0 + g1) / 2.0
    hwmax = 8.6 * s
    glass = set()
    for y in range(g0, g1 + 1):
        t = abs(y - mid) / (mid - g0)
        hw = max(1.0, hwmax * (t ** 0.8))
        for x in range(size):
            if abs(x - cx) <= hw:
                glass.add((x, y))
    c.solid(glass, WHITE, K)
    inner = glass - boundary(glass)
    # sand: a layer left in the top bulb, a stream, a heap in the bottom one
    for (x, y) in inner:
        if mid - (mid - g0) * 0.55 <= y < mid - 0.5:
            c.set(x, y, YELLOW)
        if y > mid and abs(x - cx) <= (y - (g1 - (g1 - mid) * 0.55)) * 1.2:
            c.set(x, y, YELLOW)
        if y > mid and abs(x - cx) < 0.6:
            c.set(x, y, YELLOW)
    for (x, y) in inner:  # glint on the glass
        if c.get(x, y) == WHITE and x < cx - hwmax * 0.35 and y < mid and (x + y) % 3 == 0:
            c.set(x, y, CYAN)
    # wooden caps and posts
    w = int(round(hwmax * 2 + 6 * s))
    x0 = int(round(cx - w / 2.0))
    c.solid(rect_pts(x0, top, w + 1, bar_h), OLIVE, K, light=YELLOW)
    c.solid(rect_pts(x0, bot, w + 1, bar_h), OLIVE, K, light=YELLOW)
    pw = 2 if size >= 32 else 1
    for px in (x0 + 1, x0 + w - pw):
        c.fill(px, top + bar_h, pw, bot - top - bar_h, DRED if size < 32 else OLIVE)
        if pw == 2:
            c.line(px, top + bar_h, px, bot - 1, K)
    return c


# ---------------------------------------------------------------- object list images

# Image lists key these on a mask colour, so the drawing itself stays clear
# of it: teal for most, white for the two that flag a broken record.
LIST_W = LIST_H = 16


def l_control(c):
    # a form holding a button, and the component behind it
    c.box(0, 1, 13, 11, SILVER)
    c.fill(1, 2, 11, 2, NAVY)
    c.line(1, 4, 11, 4, WHITE)
    c.solid(rect_pts(2, 6, 7, 4), SILVER, K, light=WHITE, dark=GREY)
    cube7(c, 9, 9)


def l_dll_server(c):
    page(c, 1, 0, 11, 14)
    text_lines(c, 3, 3, 6, 3)
    # by hand: a computed gear this small turns to noise
    l_dll_gear(c, 7, 7)


def l_exe_server(c):
    c.box(0, 1, 16, 14, WHITE)
    c.fill(1, 2, 14, 2, NAVY)
    c.fill(12, 2, 2, 2, SILVER)
    c.line(1, 4, 14, 4, SILVER)
    for x in (2, 5, 8):
        c.line(x, 4, x + 1, 4, K)
    c.line(1, 5, 14, 5, GREY)
    text_lines(c, 3, 8, 9, 3)


def l_misbehaved(c):
    c.solid(disc(7.5, 7.5, 7.3), RED, DRED)
    x_pts = thick_line(4.5, 4.5, 10.5, 10.5, 0.8) | thick_line(10.5, 4.5, 4.5, 10.5, 0.8)
    c.paint(x_pts, SILVER)


def l_missing_dependency(c):
    page(c, 0, 0, 12, 14, fold=2, face=SILVER, fold_face=GREY)
    c.text(1, 3, "DLL", NAVY)
    c.pattern(7, 7, [
        "....K....",
        "...KYK...",
        "...KYK...",
        "..KYKYK..",
        "..KYKYK..",
        ".KYYKYYK.",
        ".KYYYYYK.",
        "KYYYKYYYK",
        "KKKKKKKKK",
    ])


def l_broken_typelib(c):
    # a type library's page with a red cross: its registration is broken
    page(c, 0, 0, 12, 14, fold=2, face=SILVER, fold_face=GREY)
    c.text(1, 3, "TLB", NAVY)
    c.paint(thick_line(8.5, 8.5, 14.5, 14.5, 0.8) | thick_line(14.5, 8.5, 8.5, 14.5, 0.8), RED)


def l_computer(c):
    # a desktop computer: screen and a case beneath it
    monitor(c, 1, 1, 12, 9)
    c.box(2, 12, 12, 3, SILVER)
    c.rect(2, 12, 12, 3, K)
    c.set(11, 13, GREEN)


def compare_results_icon(size):
    """Two computers side by side and the tick of a matching registration."""
    c = Canvas(size, size)
    if size >= 32:
        monitor(c, 1, 2, 17, 12)
        monitor(c, 13, 11, 17, 12)
        check_mark(c, 3, 24)
    else:
        monitor(c, 0, 0, 9, 6)
        monitor(c, 6, 5, 9, 6)
        check_mark(c, 0, 10)
    return c


LIST_IMAGES = [
    ('list_control.bmp', l_control, TEAL),
    ('computer.bmp', l_computer, OLIVE),
    ('list_dll_server.bmp', l_dll_server, TEAL),
    ('list_exe_server.bmp', l_exe_server, TEAL),
    ('list_misbehaved.bmp', l_misbehaved, WHITE),
    ('list_missing_dependency.bmp', l_missing_dependency, WHITE),
    ('list_broken_typelib.bmp', l_broken_typelib, WHITE),
]


def list_image(draw, mask):
    c = Canvas(LIST_W, LIST_H)
    draw(c)
    used = {v for row in c.px for v in row if v is not None}
    assert mask not in used, '%s paints its own mask colour' % draw.__name__
    for row in c.px:
        for x, v in enumerate(row):
            if v is None:
                row[x] = mask
    return c


# ---------------------------------------------------------------- details pane images

# These sit on a white mask, so anything meant to show is kept off pure
# white: pages and tiles are silver.


def a_file_fact(c):
    page(c, 2, 0, 12, 16, face=SILVER, fold_face=GREY)
    text_lines(c, 4, 5, 7, 5, K)


def a_registry_fact(c):
    # the same cubes as the toolbar's, without their white glint
    cube7(c, 4, 1, glint=CYAN)
    cube7(c, 1, 8, glint=CYAN)
    cube7(c, 8, 8, glint=CYAN)


def a_missing_file(c):
    page(c, 0, 0, 12, 15, face=SILVER, fold_face=GREY)
    text_lines(c, 2, 4, 6, 3, K)
    cross(c, 8, 8)


def a_version_string(c):
    page(c, 1, 0, 13, 16, face=SILVER, fold_face=GREY)
    c.pattern(3, 2, ["B...B", "B...B", ".B.B.", ".B.B.", "..B.."])
    c.line(9, 4, 11, 4, GREY)
    c.text(3, 8, "1", BLUE)
    c.set(7, 12, BLUE)
    c.text(9, 8, "0", BLUE)
    c.line(3, 14, 11, 14, GREY)


GEAR9 = [
    "...KKK...",
    ".KKKWKKK.",
    ".KWWssdK.",
    "KKWsssdKK",
    "KWssKsddK",
    "KKsssddKK",
    ".KsddddK.",
    ".KKKdKKK.",
    "...KKK...",
]


def l_dll_gear(c, x, y, key=None):
    c.pattern(x, y, GEAR9, key)


def a_dependency_found(c):
    # the object list's DLL page, its cog turned green: found and loadable
    page(c, 1, 0, 11, 14, face=SILVER, fold_face=GREY)
    text_lines(c, 3, 3, 6, 3, K)
    l_dll_gear(c, 7, 7, {'K': K, 'W': GREEN, 's': GREEN, 'd': DGRN})


def a_dependency_delayed(c):
    # the same page, its cog yellow: found, but loaded only on first use
    page(c, 1, 0, 11, 14, face=SILVER, fold_face=GREY)
    text_lines(c, 3, 3, 6, 3, K)
    l_dll_gear(c, 7, 7, {'K': K, 'W': YELLOW, 's': YELLOW, 'd': OLIVE})


def r_key(c):
    # by hand, shaded to the bottom right: nothing lighter than yellow to
    # catch the light on a white mask
    c.pattern(0, 0, [
        "................",
        "................",
        ".KKKK...........",
        "KYYYYK..........",
        "KYYYYYKKKKKKKK..",
        "KYYYYYYYYYYYYoK.",
        "KYYYYYYYYYYYYoK.",
        "KYYYYYYYYYYYYoK.",
        "KYYYYYYYYYYYYoK.",
        "KYYYYYYYYYYYYoK.",
        "KYYYYYYYYYYYYoK.",
        "KYYYYYYYYYYYYoK.",
        "KoooooooooooooK.",
        "KKKKKKKKKKKKKKK.",
        "................",
        "................",
    ])


def r_key_selected(c):
    c.pattern(0, 0, [
        "................",
        "................",
        ".KKKK...........",
        "KYYYYK..........",
        "KYoooKKKKKKKK...",
        "KYooooooooooK...",
        "KYoKKKKKKKKKKKKK",
        "KYoKYYYYYYYYYYoK",
        "KYKYYYYYYYYYYYoK",
        "KYKYYYYYYYYYYoK.",
        "KKYYYYYYYYYYYoK.",
        "KKYYYYYYYYYYoK..",
        "KKoooooooooooK..",
        "KKKKKKKKKKKKKK..",
        "................",
        "................",
    ])


def value_tile(c):
    c.solid(rect_pts(0, 1, 15, 15), SILVER, K, dark=GREY)


def r_value_string(c):
    value_tile(c)
    c.pattern(2, 5, [
        "......R....",
        "......R....",
        ".RRR..RRRR.",
        "....R.R...R",
        ".RRRR.R...R",
        "R...R.R...R",
        ".RRRR.RRRR.",
    ])


def r_value_other(c):
    value_tile(c)
    c.text(2, 3, "011", BLUE)
    c.text(2, 9, "110", BLUE)


ATTR_IMAGES = [
    ('attr_file_fact.bmp', a_file_fact),
    ('attr_registry_fact.bmp', a_registry_fact),
    ('attr_missing_file.bmp', a_missing_file),
    ('attr_version_string.bmp', a_version_string),
    ('dependency_found.bmp', a_dependency_found),
    ('dependency_delayed.bmp', a_dependency_delayed),
    ('reg_key.bmp', r_key),
    ('reg_key_selected.bmp', r_key_selected),
    ('reg_value_string.bmp', r_value_string),
    ('reg_value_other.bmp', r_value_other),
]

COMPARE = 32


def compare_files():
    # sits on the dialog face, so no mask: white pages are fine here
    c = Canvas(COMPARE, COMPARE, SILVER)
    for (x, y, mark) in ((1, 1, RED), (18, 11, GREEN)):
        page(c, x, y, 13, 20, fold=4)
        for k, j in enumerate(range(y + 6, y + 18, 2)):
            c.line(x + 2, j, x + 9 - (k * 3) % 4, j, mark if k == 3 else GREY)
    arrow = pts_from([
        "...#......#...",
        "..##......##..",
        ".############.",
        "##############",
        ".############.",
        "..##......##..",
        "...#......#...",
    ], 9, 13)
    c.haloed(arrow, BLUE, NAVY)
    return c


# ---------------------------------------------------------------- logo

LOGO = 96


def logo():
    # the application icon, redrawn at three times its size
    c = Canvas(LOGO, LOGO, WHITE)
    s, o = 3, 3
    iso_cube(c, o + 13 * s, o, 12 * s, 12 * s)
    c.solid(thick_line(o + 22 * s, o + 22 * s, o + 28 * s, o + 28 * s, 2.0 * s), OLIVE, K, light=YELLOW)
    cx = cy = o + 20 * s
    c.solid(disc(cx, cy, 7.3 * s), SILVER, K, light=WHITE, dark=GREY)
    r = 5.2 * s
    c.solid(disc(cx, cy, r), CYAN, K)
    # a glint on the glass, towards the light
    for (x, y) in disc(cx, cy, r * 0.72) - disc(cx, cy, r * 0.5):
        if 200 <= math.degrees(math.atan2(y - cy, x - cx)) % 360 <= 250:
            c.set(x, y, WHITE)
    return c


# ---------------------------------------------------------------- writers

def pack4(c, y):
    row = c.px[y]
    data = bytearray()
    for x in range(0, c.w, 2):
        a = row[x] or 0
        b = (row[x + 1] or 0) if x + 1 < c.w else 0
        data.append((a << 4) | b)
    while len(data) % 4:
        data.append(0)
    return bytes(data)


def palette_bytes():
    return b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in PALETTE)


def bmp_bytes(c):
    pixels = b''.join(pack4(c, y) for y in range(c.h - 1, -1, -1))
    info = struct.pack('<IiiHHIIiiII', 40, c.w, c.h, 1, 4, 0, len(pixels), 2835, 2835, 16, 16)
    offset = 14 + len(info) + 64
    head = struct.pack('<2sIHHI', b'BM', offset + len(pixels), 0, 0, offset)
    return head + info + palette_bytes() + pixels


def bmp8_bytes(c):
    """8 bits a pixel, so the logo can be loaded at any size without a
    16-colour limit later; the palette is still VGA's, padded out."""
    stride = (c.w + 3) // 4 * 4
    rows = []
    for y in range(c.h - 1, -1, -1):
        rows.append(bytes(v or 0 for v in c.px[y]) + bytes(stride - c.w))
    pixels = b''.join(rows)
    palette = palette_bytes() + bytes(4 * (256 - len(PALETTE)))
    info = struct.pack('<IiiHHIIiiII', 40, c.w, c.h, 1, 8, 0, len(pixels), 2835, 2835, 256, 256)
    offset = 14 + len(info) + len(palette)
    head = struct.pack('<2sIHHI', b'BM', offset + len(pixels), 0, 0, offset)
    return head + info + palette + pixels


def and_mask(c):
    rows = []
    for y in range(c.h - 1, -1, -1):
        bits = bytearray()
        for x0 in range(0, c.w, 8):
            v = 0
            for i in range(8):
                x = x0 + i
                if x >= c.w or c.px[y][x] is None:
                    v |= 0x80 >> i
            bits.append(v)
        while len(bits) % 4:
            bits.append(0)
        rows.append(bytes(bits))
    return b''.join(rows)


def ico_bytes(images):
    blobs = []
    for c in images:
        xor = b''.join(pack4(c, y) for y in range(c.h - 1, -1, -1))
        mask = and_mask(c)
        info = struct.pack('<IiiHHIIiiII', 40, c.w, c.h * 2, 1, 4, 0, len(xor) + len(mask), 0, 0, 16, 0)
        blobs.append(info + palette_bytes() + xor + mask)
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for c, blob in zip(images, blobs):
        out += struct.pack('<BBBBHHII', c.w % 256, c.h % 256, 16, 0, 1, 4, len(blob), offset)
        offset += len(blob)
    return out + b''.join(blobs)


# ---------------------------------------------------------------- self-check

def check_bmp(data, w, h, depth=4):
    assert data[:2] == b'BM', 'not a BMP'
    size, = struct.unpack_from('<I', data, 2)
    off, = struct.unpack_from('<I', data, 10)
    bw, bh, planes, bpp = struct.unpack_from('<iiHH', data, 18)
    assert size == len(data), 'file size field is wrong'
    assert (bw, bh, planes, bpp) == (w, h, 1, depth), (bw, bh, planes, bpp)
    assert off == 14 + 40 + 4 * (1 << depth)
    assert len(data) - off == ((w * depth + 31) // 32 * 4) * h
    assert data[14 + 40 + 7 * 4:14 + 40 + 8 * 4] == bytes((192, 192, 192, 0)), 'palette entry 7 must be silver'


def check_ico(data, sizes):
    reserved, kind, count = struct.unpack_from('<HHH', data, 0)
    assert (reserved, kind, count) == (0, 1, len(sizes))
    for i, s in enumerate(sizes):
        w, h, colours, _, planes, bpp, n, off = struct.unpack_from('<BBBBHHII', data, 6 + 16 * i)
        assert (w, h, colours, planes, bpp) == (s, s, 16, 1, 4)
        hw, hh, _, hbpp = struct.unpack_from('<iiHH', data, off + 4)
        assert (hw, hh, hbpp) == (s, 2 * s, 4)
        xor = ((s + 7) // 8 * 4) * s
        mask = ((s + 31) // 32 * 4) * s
        assert n == 40 + 64 + xor + mask, 'image size does not add up'
        assert off + n <= len(data)
        m = data[off + n - mask:off + n]
        assert any(b != 0xFF for b in m) and any(b != 0 for b in m), 'mask must be partly transparent'


def check_masked(data, rgb):
    """The mask colour is the palette's and covers some, not all, of it."""
    w, h = struct.unpack_from('<ii', data, 18)
    off, = struct.unpack_from('<I', data, 10)
    pal = [tuple(data[54 + 4 * i:57 + 4 * i][::-1]) for i in range(16)]
    mask = pal.index(rgb)
    stride = (w + 7) // 8 * 4
    flat = [(data[off + y * stride + x // 2] >> (0 if x % 2 else 4)) & 15
            for y in range(h) for x in range(w)]
    n = flat.count(mask)
    assert w * h // 10 < n < w * h * 9 // 10, 'mask covers %d of %d pixels' % (n, w * h)


# ---------------------------------------------------------------- main

def main():
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'resources')
    os.makedirs(root, exist_ok=True)
    outputs = {
        'main_toolbar.bmp': bmp_bytes(strip(MAIN_BUTTONS)),
        'computers_toolbar.bmp': bmp_bytes(strip(COMPUTER_BUTTONS)),
        'corvane.ico': ico_bytes([app_icon(32), app_icon(16)]),
        'wait.ico': ico_bytes([wait_icon(32), wait_icon(16)]),
        'compare_results.ico': ico_bytes([compare_results_icon(32), compare_results_icon(16)]),
        'logo.bmp': bmp8_bytes(logo()),
    }
    for name, draw, mask in LIST_IMAGES:
        outputs[name] = bmp_bytes(list_image(draw, mask))
    for name, draw in ATTR_IMAGES:
        outputs[name] = bmp_bytes(list_image(draw, WHITE))
    outputs['compare_files.bmp'] = bmp_bytes(compare_files())
    check_bmp(outputs['main_toolbar.bmp'], 17 * TB_W, TB_H)
    check_bmp(outputs['computers_toolbar.bmp'], 4 * TB_W, TB_H)
    check_ico(outputs['corvane.ico'], (32, 16))
    check_ico(outputs['wait.ico'], (32, 16))
    check_ico(outputs['compare_results.ico'], (32, 16))
    check_bmp(outputs['logo.bmp'], LOGO, LOGO, 8)
    for name, draw, mask in LIST_IMAGES:
        check_bmp(outputs[name], LIST_W, LIST_H)
        check_masked(outputs[name], PALETTE[mask])
    for name, draw in ATTR_IMAGES:
        check_bmp(outputs[name], LIST_W, LIST_H)
        check_masked(outputs[name], PALETTE[WHITE])
    check_bmp(outputs['compare_files.bmp'], COMPARE, COMPARE)
    check_masked(outputs['compare_files.bmp'], PALETTE[SILVER])
    for name, data in outputs.items():
        with open(os.path.join(root, name), 'wb') as f:
            f.write(data)
    return 0


if __name__ == '__main__':
    sys.exit(main())
