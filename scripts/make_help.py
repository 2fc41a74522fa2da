#!/usr/bin/env python3
"""Builds a Windows Help file (WinHelp 3.1 layout, readable by WinHelp 3.1 and 4 viewers) from
a plain-text source.

The source starts with "Key: value" lines (Title, Copyright), then one block per topic:

    == context_name [map_number] : Topic title
    paragraphs separated by blank lines

A paragraph that starts with "### " is a sub-heading, one that starts with "* " a bullet item
(its further lines indented), one indented by four blanks an example set in a fixed-width font. Inside a paragraph **text** is bold, `text` fixed-width and
[text](context_name) a jump to another topic. The first topic is the contents topic.

Usage: make_help.py SOURCE OUTPUT
"""
import os
import re
import struct
import sys
import time

TOPIC_BLOCK_SIZE = 4096
TOPIC_BLOCK_HEADER = 12
# Topic blocks are stored LZ77-framed with literals only: n bytes take n + ceil(n / 8).
TOPIC_BLOCK_CAPACITY = 3630
DECOMPRESS_SIZE = 0x4000

# Fonts, by index: body, title, bold, fixed-width.
FONT_BODY, FONT_TITLE, FONT_BOLD, FONT_FIXED = range(4)
FACES = ["Arial", "Courier New"]
# (attributes: 1 bold, half-points, family: 1 modern 3 swiss, face index, RGB)
FONTS = [
    (0, 20, 3, 0, (0, 0, 0)),
    (1, 28, 3, 0, (0, 0, 128)),
    (1, 20, 3, 0, (0, 0, 0)),
    (0, 18, 1, 1, (0, 0, 0)),
]

CONTEXT_CHAR = re.compile(r"^[A-Za-z0-9_.]+$")


class HelpError(Exception):
    pass


def context_hash(name):
    """The hash that the viewer computes for a context name, as a signed 32-bit value."""
    if not CONTEXT_CHAR.match(name):
        raise HelpError("context name %r may hold only letters, digits, '_' and '.'" % name)
    value = 0
    for ch in name.upper():
        if ch.isdigit():
            code = 10 if ch == "0" else ord(ch) - ord("0")
        elif ch == ".":
            code = 12
        elif ch == "_":
            code = 13
        else:
            code = ord(ch) - ord("A") + 17
        value = (value * 43 + code) & 0xFFFFFFFF
    return value - (1 << 32) if value & 0x80000000 else value


# ---------------------------------------------------------------- source

class Topic:
    def __init__(self, context, map_number, title):
        self.context, self.map_number, self.title = context, map_number, title
        self.paragraphs = []


TOPIC_LINE = re.compile(r"^==\s*([A-Za-z0-9_.]+)\s*(\d+)?\s*:\s*(.+?)\s*$")


def parse_source(text):
    settings, topics, lines = {}, [], []

    def close_topic():
        if topics:
            topics[-1].paragraphs = split_paragraphs(lines)
        lines.clear()

    for number, line in enumerate(text.splitlines(), 1):
        match = TOPIC_LINE.match(line)
        if match:
            close_topic()
            map_number = int(match.group(2)) if match.group(2) else None
            topics.append(Topic(match.group(1), map_number, match.group(3)))
        elif topics:
            lines.append(line)
        elif line.strip():
            key, sep, value = line.partition(":")
            if not sep:
                raise HelpError("line %d: expected 'Key: value' before the first topic" % number)
            settings[key.strip().lower()] = value.strip()
    close_topic()
    if not topics:
        raise HelpError("the source holds no topic")
    return settings, topics


def split_paragraphs(lines):
    paragraphs, current = [], []
    for line in lines + [""]:
        starts_item = line.startswith("* ") or line.startswith("### ")
        if (not line.strip() or starts_item) and current:
            paragraphs.append(current)
            current = []
        if line.strip():
            current.append(line)
    result = []
    for raw in paragraphs:
        text = " ".join(line.strip() for line in raw)
        if text.startswith("### "):
            result.append(("heading", text[4:].strip()))
        elif text.startswith("* "):
            result.append(("bullet", text[2:].strip()))
        elif raw[0].startswith("    "):
            result.append(("example", text))
        else:
            result.append(("body", text))
    return result


INLINE = re.compile(r"\*\*(.+?)\*\*|`(.+?)`|\[(.+?)\]\(([A-Za-z0-9_.]+)\)")


# ---------------------------------------------------------------- topic records

def encode_text(text):
    try:
        return text.encode("cp1252")
    except UnicodeEncodeError as error:
        raise HelpError("text not in Windows-1252: %r" % text) from error


def compressed_signed_short(value):
    if -64 <= value < 64:
        return bytes([(value + 64) * 2])
    if not -16384 <= value < 16384:
        raise HelpError("value out of range: %d" % value)
    return struct.pack("<H", (value + 16384) * 2 + 1)


def compressed_unsigned_short(value):
    if value < 128:
        return bytes([value * 2])
    if value >= 32768:
        raise HelpError("value out of range: %d" % value)
    return struct.pack("<H", value * 2 + 1)


def compressed_signed_long(value):
    if -16384 <= value < 16384:
        return struct.pack("<H", (value + 16384) * 2)
    return struct.pack("<I", (value + 0x40000000) * 2 + 1)


class Paragraph:
    """Character runs and formatting commands of one displayed paragraph: each command is
    preceded by the text shown before it, and the last one ends the formatting."""

    def __init__(self):
        self.texts, self.commands, self.pending = [], [], b""

    def text(self, raw):
        self.pending += raw

    def command(self, raw):
        self.texts.append(self.pending)
        self.commands.append(raw)
        self.pending = b""

    def font(self, index):
        self.command(b"\x80" + struct.pack("<H", index))

    def runs(self, text, font, known_contexts):
        position = 0
        for match in INLINE.finditer(text):
            self.text(encode_text(text[position:match.start()]))
            if match.group(1) is not None:
                self.font(FONT_BOLD)
                self.text(encode_text(match.group(1)))
                self.font(font)
            elif match.group(2) is not None:
                self.font(FONT_FIXED)
                self.text(encode_text(match.group(2)))
                self.font(font)
            else:
                target = match.group(4)
                if target not in known_contexts:
                    raise HelpError("jump to an unknown topic: %s" % target)
                self.command(b"\xe3" + struct.pack("<i", context_hash(target)))
                self.text(encode_text(match.group(3)))
                self.command(b"\x89")
            position = match.end()
        self.text(encode_text(text[position:]))

    def finish(self):
        self.command(b"\x82")
        self.command(b"\xff")
        return b"".join(t + b"\x00" for t in self.texts), b"".join(self.commands)


def paragraph_record(kind, text, known_contexts):
    """LinkData1 and LinkData2 of a displayable-text record holding one paragraph."""
    font = {"title": FONT_TITLE, "heading": FONT_BOLD, "example": FONT_FIXED}.get(kind, FONT_BODY)
    paragraph = Paragraph()
    paragraph.font(font)
    if kind == "bullet":
        paragraph.text(encode_text("\u2022"))
        paragraph.command(b"\x83")
    paragraph.runs(text, font, known_contexts)
    data2, commands = paragraph.finish()

    # Spacing and indents are in half-points.
    bits, fields = 0, b""
    above = {"title": 0, "heading": 16, "bullet": 6, "example": 8}.get(kind, 12)
    below = 8 if kind == "title" else 0
    if above:
        bits |= 0x0002
        fields += compressed_signed_short(above)
    if below:
        bits |= 0x0004
        fields += compressed_signed_short(below)
    if kind == "bullet":
        bits |= 0x0010 | 0x0040 | 0x0200
        fields += compressed_signed_short(36) + compressed_signed_short(-20)
        fields += compressed_signed_short(1) + compressed_unsigned_short(36)
    if kind == "example":
        bits |= 0x0010
        fields += compressed_signed_short(36)
    data1 = (compressed_signed_long(len(data2)) + compressed_unsigned_short(len(data2))
             + b"\x00\x80" + struct.pack("<H", 0) + struct.pack("<H", bits) + fields + commands)
    return data1, data2


class Link:
    """One TOPICLINK: a topic header (type 2) or a paragraph (type 0x20)."""

    def __init__(self, record_type, data1, data2, topic=None):
        self.record_type, self.data1, self.data2, self.topic = record_type, data1, data2, topic
        self.position = None

    def size(self):
        return 21 + len(self.data1) + len(self.data2)

    def pack(self, previous, following):
        return struct.pack("<IIiiIB", self.size(), len(self.data2), previous, following,
                           21 + len(self.data1), self.record_type) + self.data1 + self.data2


def lz77_literals(data):
    out = bytearray()
    for start in range(0, len(data), 8):
        out.append(0)
        out += data[start:start + 8]
    return bytes(out)


def build_topic_file(topics):
    """|TOPIC: per topic a header link and one link per paragraph, the title first. Links are
    chained by their positions; a topic's offset counts the characters before it in its block."""
    known = {topic.context for topic in topics}
    links, starts = [], []
    for topic in topics:
        starts.append(len(links))
        # The header's data (28 bytes) is filled in once every link has its position.
        links.append(Link(2, b"\x00" * 28, encode_text(topic.title) + b"\x00", topic))
        for kind, text in [("title", topic.title)] + topic.paragraphs:
            links.append(Link(0x20, *paragraph_record(kind, text, known)))

    # Place the links in blocks; a link never crosses a block.
    blocks, block, used, characters = [], [], 0, 0
    for link in links:
        if link.size() > TOPIC_BLOCK_CAPACITY:
            raise HelpError("a paragraph is too long for one topic block")
        if used + link.size() > TOPIC_BLOCK_CAPACITY:
            blocks.append(block)
            block, used, characters = [], 0, 0
        link.position = len(blocks) * DECOMPRESS_SIZE + TOPIC_BLOCK_HEADER + used
        if link.record_type == 2:
            link.topic.offset = len(blocks) * 0x8000 + characters
        else:
            characters += len(link.data2)
        block.append(link)
        used += link.size()
    blocks.append(block)

    ends = starts[1:] + [len(links)]
    for number, (start, end) in enumerate(zip(starts, ends)):
        topic_size = sum(link.size() for link in links[start:end])
        following = links[end].position if end < len(links) else -1
        # No browse sequence and no non-scrolling region; the scrolling region is the rest.
        links[start].data1 = struct.pack("<IiiIiii", topic_size, -1, -1, number, -1,
                                         links[start + 1].position, following)

    positions = [-1] + [link.position for link in links] + [-1]
    out = bytearray()
    last_link, last_header, index = -1, -1, 0
    for block in blocks:
        raw = bytearray()
        for link in block:
            raw += link.pack(positions[index], positions[index + 2])
            index += 1
        header = struct.pack("<iii", last_link, block[0].position, last_header)
        body = header + lz77_literals(bytes(raw))
        out += body + b"\x00" * (TOPIC_BLOCK_SIZE - len(body))
        last_link = block[-1].position
        for link in block:
            if link.record_type == 2:
                last_header = link.position
    return bytes(out)


# ---------------------------------------------------------------- other internal files

def build_system(settings, contents_offset):
    def record(kind, data):
        return struct.pack("<HH", kind, len(data)) + data

    created = int(os.environ.get("SOURCE_DATE_EPOCH", time.time())) - 315532800
    out = struct.pack("<HHHIH", 0x036C, 21, 1, max(created, 0), 4)
    out += record(1, encode_text(settings.get("title", "")) + b"\x00")
    out += record(2, encode_text(settings.get("copyright", "")) + b"\x00")
    out += record(3, struct.pack("<I", contents_offset))
    # The main window, named so that the viewer takes its caption from the file's title;
    # flags: name and caption given, position, size and colours left to the viewer.
    caption = encode_text(settings.get("title", ""))[:50]
    out += record(6, struct.pack("<H10s9s51s5h2I", 0x0006, b"", b"main", caption,
                                 0, 0, 0, 0, 0, 0, 0))
    return out


def build_font():
    face_length = 20
    faces = b"".join(encode_text(face).ljust(face_length, b"\x00") for face in FACES)
    descriptors = b"".join(
        struct.pack("<BBBH", attributes, half_points, family, face) + bytes(rgb) + b"\xff" * 3
        for attributes, half_points, family, face, rgb in FONTS)
    header_size = 8
    return struct.pack("<HHHH", len(FACES), len(FONTS), header_size,
                       header_size + len(faces)) + faces + descriptors


def build_btree(entries, structure, page_size, flags):
    """A B+ tree of one leaf page; entries are (sort key, packed bytes)."""
    entries = sorted(entries, key=lambda entry: entry[0])
    body = b"".join(packed for _, packed in entries)
    free = page_size - 8 - len(body)
    if free < 0:
        raise HelpError("too many entries for one B+ tree page")
    page = struct.pack("<Hhhh", free, len(entries), -1, -1) + body + b"\x00" * free
    header = struct.pack("<HHH16shhhhhhi", 0x293B, flags, page_size,
                         structure.encode("ascii"), 0, 0, 0, -1, 1, 1, len(entries))
    return header + page


def build_context(topics):
    return build_btree([(context_hash(t.context), struct.pack("<iI", context_hash(t.context),
                                                              t.offset)) for t in topics],
                       "L4", 0x800, 0x0002)


def build_titles(topics):
    return build_btree([(t.offset, struct.pack("<I", t.offset) + encode_text(t.title) + b"\x00")
                        for t in topics], "Lz", 0x800, 0x0002)


def build_map(topics):
    mapped = [t for t in topics if t.map_number is not None]
    numbers = [t.map_number for t in mapped]
    if len(set(numbers)) != len(numbers):
        raise HelpError("a map number is given to two topics")
    return struct.pack("<H", len(mapped)) + b"".join(
        struct.pack("<iI", t.map_number, t.offset) for t in mapped)


def build_help_file(source_text):
    settings, topics = parse_source(source_text)
    contexts = [t.context for t in topics]
    if len(set(c.upper() for c in contexts)) != len(contexts):
        raise HelpError("two topics have the same context name")
    hashes = [context_hash(c) for c in contexts]
    if len(set(hashes)) != len(hashes):
        raise HelpError("two context names have the same hash")

    topic_file = build_topic_file(topics)
    internal = {
        "|SYSTEM": build_system(settings, topics[0].offset),
        "|TOPIC": topic_file,
        "|FONT": build_font(),
        "|CONTEXT": build_context(topics),
        "|CTXOMAP": build_map(topics),
        "|TTLBTREE": build_titles(topics),
    }

    out = bytearray(16)
    offsets = {}
    for name, content in internal.items():
        offsets[name] = len(out)
        out += struct.pack("<IIB", len(content) + 9, len(content), 4) + content
    directory = build_btree([(name.encode("ascii"), name.encode("ascii") + b"\x00"
                              + struct.pack("<I", offset)) for name, offset in offsets.items()],
                            "z4", 0x400, 0x0402)
    directory_start = len(out)
    out += struct.pack("<IIB", len(directory) + 9, len(directory), 4) + directory
    struct.pack_into("<IIiI", out, 0, 0x00035F3F, directory_start, -1, len(out))
    return bytes(out)


def main(argv):
    if len(argv) != 3:
        sys.stderr.write("usage: make_help.py SOURCE OUTPUT\n")
        return 2
    try:
        with open(argv[1], encoding="utf-8") as source:
            data = build_help_file(source.read())
    except (OSError, HelpError) as error:
        sys.stderr.write("make_help.py: %s: %s\n" % (argv[1], error))
        return 1
    temporary = argv[2] + ".tmp"
    with open(temporary, "wb") as output:
        output.write(data)
    os.replace(temporary, argv[2])
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
