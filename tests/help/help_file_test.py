#!/usr/bin/env python3
"""Reads the built help file back with a reader of its own: the internal directory, the topics
in |TOPIC, the contexts, the context map that HELP_CONTEXT uses and the contents topic. Also
checks that the help builder refuses a broken source instead of writing a file.

Usage: help_file_test.py PATH_OF_vantic.hlp
"""
import os
import struct
import subprocess
import sys
import tempfile
import unittest

HELP_FILE = None
BUILDER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts",
                       "make_help.py")

MAPPED_TITLES = {
    101: "Compare COM Files",
    102: "Corvane Options",
    103: "Inventory Report",
    104: "Find Missing Dependencies",
    105: "Compare with other computers",
}


def u16(data, at):
    return struct.unpack_from("<H", data, at)[0]


def i16(data, at):
    return struct.unpack_from("<h", data, at)[0]


def u32(data, at):
    return struct.unpack_from("<I", data, at)[0]


def i32(data, at):
    return struct.unpack_from("<i", data, at)[0]


def lz77_expand(data):
    out = bytearray()
    at = 0
    while at < len(data):
        mask = data[at]
        at += 1
        for bit in range(8):
            if at >= len(data):
                break
            if mask & (1 << bit):
                code = u16(data, at)
                at += 2
                distance, length = (code & 0xFFF) + 1, (code >> 12) + 3
                for _ in range(length):
                    out.append(out[-distance])
            else:
                out.append(data[at])
                at += 1
    return bytes(out)


def btree_leaves(data, read_entry):
    """All leaf entries of a B+ tree, in order; read_entry(data, at) -> (entry, next_at)."""
    assert u16(data, 0) == 0x293B, "B+ tree magic"
    page_size, root, levels = u16(data, 4), u16(data, 26), u16(data, 32)
    total = i32(data, 34)
    pages = 38
    page = root
    for _ in range(levels - 1):
        page = u16(data, pages + page * page_size + 4)  # the first child
    entries = []
    while page != 0xFFFF:
        start = pages + page * page_size
        at = start + 8
        for _ in range(i16(data, start + 2)):
            entry, at = read_entry(data, at)
            entries.append(entry)
        assert at <= start + page_size, "entries overrun their page"
        page = u16(data, start + 6)
    assert len(entries) == total, "entry count of the B+ tree header"
    return entries


def zstring(data, at):
    end = data.index(b"\x00", at)
    return data[at:end].decode("cp1252"), end + 1


class Compressed:
    def __init__(self, data, at):
        self.data, self.at = data, at

    def byte(self):
        self.at += 1
        return self.data[self.at - 1]

    def word(self):
        self.at += 2
        return u16(self.data, self.at - 2)

    def ushort(self):
        return self.word() // 2 if self.data[self.at] & 1 else self.byte() // 2

    def short(self):
        return (self.word() - 0x8000) // 2 if self.data[self.at] & 1 else (self.byte() - 0x80) // 2

    def long(self):
        if self.data[self.at] & 1:
            self.at += 4
            return (u32(self.data, self.at - 4) - 0x80000000) // 2
        return (self.word() - 0x8000) // 2


class HelpFile:
    def __init__(self, path):
        with open(path, "rb") as source:
            self.data = source.read()
        data = self.data
        assert u32(data, 0) == 0x00035F3F, "help file magic"
        assert u32(data, 12) == len(data), "size in the header"
        directory = self.internal_at(u32(data, 4))
        self.files = {}
        for name, offset in btree_leaves(directory, self.read_directory_entry):
            self.files[name] = self.internal_at(offset)
        self.read_system()
        self.read_fonts()
        self.read_topics()

    def internal_at(self, offset):
        reserved, used = u32(self.data, offset), u32(self.data, offset + 4)
        assert reserved >= used + 9 and offset + reserved <= len(self.data), "internal file size"
        return self.data[offset + 9:offset + 9 + used]

    @staticmethod
    def read_directory_entry(data, at):
        name, at = zstring(data, at)
        return (name, u32(data, at)), at + 4

    def read_system(self):
        system = self.files["|SYSTEM"]
        magic, minor, major, _, self.flags = struct.unpack_from("<HHHIH", system, 0)
        assert (magic, major) == (0x036C, 1) and minor > 16, "system header"
        self.records, at = {}, 12
        while at + 4 <= len(system):
            kind, size = u16(system, at), u16(system, at + 2)
            self.records[kind] = system[at + 4:at + 4 + size]
            at += 4 + size
        self.title = zstring(self.records[1], 0)[0]
        self.contents_offset = u32(self.records[3], 0)

    def read_fonts(self):
        font = self.files["|FONT"]
        self.font_count = u16(font, 2)

    def read_topics(self):
        """Walks the topic links from the first one, as the viewer does."""
        assert self.flags in (4, 8), "topic blocks are LZ77 compressed"
        block_size = 4096 if self.flags == 4 else 2048
        topic = self.files["|TOPIC"]
        blocks, self.first_links = [], []
        for start in range(0, len(topic), block_size):
            self.first_links.append(i32(topic, start + 4))
            blocks.append(lz77_expand(topic[start + 12:start + block_size]))
        self.topics, self.link_blocks = [], []
        position, characters, block_seen = 12, 0, -1
        while position != -1:
            block, offset = (position - 12) // 0x4000, (position - 12) % 0x4000
            if block != block_seen:
                characters, block_seen = 0, block
                assert self.first_links[block] == position, "first link of a topic block"
            link = blocks[block][offset:]
            size, data2_length, _, following, data1_length = struct.unpack_from("<IIiiI", link)
            kind = link[20]
            data1, data2 = link[21:data1_length], link[data1_length:size]
            assert len(data2) == data2_length, "links are stored without phrase compression"
            if kind == 2:
                title = zstring(data2, 0)[0]
                self.topics.append({"title": title, "offset": block * 0x8000 + characters,
                                    "text": [], "jumps": []})
            elif kind == 0x20:
                length = self.read_paragraph(data1, data2, self.topics[-1])
                characters += length
            else:
                raise AssertionError("unexpected record type %#x" % kind)
            position = following

    def read_paragraph(self, data1, data2, topic):
        reader = Compressed(data1, 0)
        reader.long()
        length = reader.ushort()
        reader.at += 4
        bits = reader.word()
        if bits & 0x0001:
            reader.long()
        for flag in (0x0002, 0x0004, 0x0008, 0x0010, 0x0020, 0x0040):
            if bits & flag:
                reader.short()
        if bits & 0x0100:
            reader.at += 3
        if bits & 0x0200:
            for _ in range(reader.short()):
                if reader.ushort() & 0x4000:
                    reader.ushort()
        strings = data2.split(b"\x00")[:-1]
        text = ""
        for string in strings:
            text += string.decode("cp1252")
            command = reader.byte()
            if command == 0xFF:
                break
            if command == 0x80:
                assert reader.word() < self.font_count, "font index"
            elif command in (0xE2, 0xE3, 0xE6, 0xE7):
                topic["jumps"].append(i32(data1, reader.at))
                reader.at += 4
            elif command in (0x81, 0x82, 0x83):
                text += " "
            elif command != 0x89:
                raise AssertionError("unexpected formatting command %#x" % command)
        assert reader.at == len(data1), "formatting ends with its end command"
        assert length == len(data2), "character count of the paragraph"
        topic["text"].append(text)
        return length

    def context(self):
        def entry(data, at):
            return (i32(data, at), u32(data, at + 4)), at + 8
        return btree_leaves(self.files["|CONTEXT"], entry)

    def context_map(self):
        data = self.files["|CTXOMAP"]
        return {i32(data, 2 + 8 * i): u32(data, 6 + 8 * i) for i in range(u16(data, 0))}

    def titles(self):
        def entry(data, at):
            title, end = zstring(data, at + 4)
            return (u32(data, at), title), end
        return btree_leaves(self.files["|TTLBTREE"], entry)

    def topic_at(self, offset):
        matches = [topic for topic in self.topics if topic["offset"] == offset]
        assert len(matches) == 1, "exactly one topic at offset %#x" % offset
        return matches[0]

    def text_of(self, title):
        return " ".join(next(t for t in self.topics if t["title"] == title)["text"])


class HelpFileTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.help = HelpFile(HELP_FILE)

    def test_directory_holds_the_files_the_viewers_need(self):
        self.assertLessEqual({"|SYSTEM", "|TOPIC", "|FONT", "|CONTEXT", "|CTXOMAP", "|TTLBTREE"},
                             set(self.help.files))
        names = [name.encode("cp1252") for name in self.help.files]
        self.assertEqual(sorted(names), names, "directory sorted as the viewer searches it")

    def test_contents_topic_is_the_first_and_opens_with_the_title(self):
        contents = self.help.topic_at(self.help.contents_offset)
        self.assertIs(contents, self.help.topics[0])
        self.assertEqual("Corvane Help", contents["title"])
        self.assertEqual("Corvane Help", self.help.title)
        window = self.help.records[6]
        self.assertEqual(90, len(window))
        self.assertEqual("main", zstring(window, 12)[0], "the main window's record")
        self.assertEqual("Corvane Help", zstring(window, 21)[0], "the main window's caption")
        self.assertIn("misbehaved", " ".join(contents["text"]))

    def test_context_map_opens_every_dialog_topic(self):
        mapping = self.help.context_map()
        for number, title in MAPPED_TITLES.items():
            self.assertIn(number, mapping)
            topic = self.help.topic_at(mapping[number])
            self.assertEqual(title, topic["title"])
            self.assertEqual(title, topic["text"][0].strip(), "the topic shows its title first")

    def test_every_topic_has_a_context_and_every_jump_lands_on_a_topic(self):
        entries = self.help.context()
        hashes = [hash_value for hash_value, _ in entries]
        self.assertEqual(sorted(hashes), hashes, "contexts sorted by signed hash")
        by_hash = dict(entries)
        self.assertEqual({t["offset"] for t in self.help.topics}, set(by_hash.values()))
        jumps = [jump for topic in self.help.topics for jump in topic["jumps"]]
        self.assertGreaterEqual(len(jumps), len(MAPPED_TITLES))
        for jump in jumps:
            self.assertIn(jump, by_hash)
        reached = {self.help.topic_at(by_hash[jump])["title"] for jump in jumps}
        self.assertLessEqual(set(MAPPED_TITLES.values()), reached,
                             "the contents topic leads to each dialog's topic")

    def test_title_list_matches_the_topics(self):
        self.assertEqual([(t["offset"], t["title"]) for t in self.help.topics],
                         self.help.titles())

    def test_texts_say_what_removal_deletes_and_how_to_restore(self):
        removal = self.help.text_of("Removing classes from the Registry")
        for phrase in ("ProgID", "type library", "AppID", "Windows Registry Editor Version 5.00", "regedit /s",
                       "Tessaline\\Corvane\\Backup"):
            self.assertIn(phrase, removal)
        self.assertIn("import table", self.help.text_of("Find Missing Dependencies"))


class BuilderRefusesBrokenSourcesTest(unittest.TestCase):
    def build(self, source_text):
        with tempfile.TemporaryDirectory() as folder:
            source, output = os.path.join(folder, "h.txt"), os.path.join(folder, "h.hlp")
            with open(source, "w", encoding="utf-8") as handle:
                handle.write(source_text)
            result = subprocess.run([sys.executable, BUILDER, source, output],
                                    capture_output=True, text=True)
            return result.returncode, os.path.exists(output), result.stderr

    def test_good_source_builds(self):
        code, written, _ = self.build("Title: T\n\n== a 1 : A\n\nSee [b](b).\n\n== b : B\n\nB.\n")
        self.assertEqual((0, True), (code, written))

    def test_broken_sources_fail_without_a_file(self):
        for source, reason in [
            ("Title: T\n\n== a : A\n\nSee [x](nowhere).\n", "unknown topic"),
            ("Title: T\n\n== a 7 : A\n\nA.\n\n== b 7 : B\n\nB.\n", "map number"),
            ("Title: T\n\n== a : A\n\n\u4e2d.\n", "Windows-1252"),
            ("Title: T\n", "no topic"),
        ]:
            code, written, message = self.build(source)
            self.assertEqual((1, False), (code, written), source)
            self.assertIn(reason, message)


if __name__ == "__main__":
    HELP_FILE = sys.argv.pop(1)
    unittest.main()
