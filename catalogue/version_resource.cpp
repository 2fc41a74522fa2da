#include "catalogue/version_resource.h"

#include "catalogue/byte_span.h"

#include <cctype>

namespace corvane {

namespace {

using Bytes = ByteSpan;

constexpr std::uint32_t kVersionType = 16;
constexpr std::uint32_t kVersionId = 1;
constexpr std::uint32_t kSubdirectoryFlag = 0x80000000u;

// File offset of an RVA that lies in a section's raw data, with the bytes left there.
bool RvaToOffset(const Bytes& file, std::size_t sections, unsigned count, std::uint32_t rva,
                 std::size_t* offset, std::size_t* left) {
  for (unsigned i = 0; i < count; ++i) {
    const std::size_t header = sections + 40u * i;
    if (!file.Has(header, 40)) return false;
    const std::uint32_t address = file.U32(header + 12);
    const std::uint32_t raw_size = file.U32(header + 16);
    const std::uint32_t raw_offset = file.U32(header + 20);
    if (rva >= address && rva - address < raw_size) {
      *offset = static_cast<std::size_t>(raw_offset) + (rva - address);
      *left = raw_size - (rva - address);
      return true;
    }
  }
  return false;
}

// The entry of a resource directory with the given id; the first one when id is 0 and not
// exact.
bool FindEntry(const Bytes& file, std::size_t resources, std::size_t resources_size,
               std::uint32_t directory, std::uint32_t id, std::uint32_t* target,
               bool exact = false) {
  if (directory > resources_size || !file.Has(resources + directory, 16)) return false;
  const std::size_t base = resources + directory;
  const unsigned named = file.U16(base + 12);
  const unsigned ids = file.U16(base + 14);
  for (unsigned i = 0; i < named + ids; ++i) {
    const std::size_t entry = base + 16 + 8u * i;
    if (!file.Has(entry, 8) || entry + 8 > resources + resources_size) return false;
    const std::uint32_t name = file.U32(entry);
    if ((id == 0 && !exact) || (i >= named && name == id)) {
      *target = file.U32(entry + 4);
      return true;
    }
  }
  return false;
}

// One node of a version block: a length, a value and children, each aligned to 4 bytes.
struct Node {
  std::size_t start = 0, end = 0;  // the node's bytes
  std::u16string key;
  std::size_t value = 0;           // offset of the value
  std::size_t value_length = 0;    // as the node states it
  bool text = false;
  std::size_t children = 0;        // offset of the first child
};

std::size_t Align4(std::size_t offset) { return (offset + 3) & ~static_cast<std::size_t>(3); }

// Version blocks of 32-bit files have a type word and UTF-16 keys and texts; those of 16-bit
// files have neither the type nor wide characters.
bool IsWide(const std::vector<std::uint8_t>& block) {
  return !(block.size() >= 6 && block[4] == 'V' && block[5] == 'S');
}

bool ReadNode(const Bytes& block, bool wide, std::size_t start, std::size_t limit, Node* node) {
  const std::size_t header = wide ? 6 : 4;
  if (!block.Has(start, header) || start + header > limit) return false;
  const std::size_t length = block.U16(start);
  if (length < header || start + length > limit) return false;
  node->start = start;
  node->end = start + length;
  node->value_length = block.U16(start + 2);
  node->text = wide ? block.U16(start + 4) == 1 : true;
  node->key.clear();
  const std::size_t unit = wide ? 2 : 1;
  std::size_t at = start + header;
  for (;; at += unit) {
    if (at + unit > node->end) return false;
    const char16_t c = wide ? block.U16(at) : block.data()[at];
    if (c == 0) break;
    node->key += c;
  }
  node->value = Align4(at + unit);
  const std::size_t value_bytes = wide && node->text ? node->value_length * 2 : node->value_length;
  node->children = Align4(node->value + value_bytes);
  return true;
}

bool KeyEquals(const std::u16string& key, const std::string& name) {
  if (key.size() != name.size()) return false;
  for (std::size_t i = 0; i < key.size(); ++i) {
    if (key[i] > 0x7F) return false;
    if (std::tolower(static_cast<unsigned char>(key[i])) !=
        std::tolower(static_cast<unsigned char>(name[i])))
      return false;
  }
  return true;
}

// The node that a path of keys such as "\StringFileInfo\040904b0\CompanyName" names.
bool FindNode(const std::vector<std::uint8_t>& data, const std::string& path, Node* found) {
  const Bytes block(data.data(), data.size());
  const bool wide = IsWide(data);
  Node node;
  if (!ReadNode(block, wide, 0, data.size(), &node)) return false;
  std::size_t at = 0;
  while (at < path.size()) {
    while (at < path.size() && path[at] == '\\') ++at;
    if (at == path.size()) break;
    std::size_t next = path.find('\\', at);
    if (next == std::string::npos) next = path.size();
    const std::string name = path.substr(at, next - at);
    at = next;
    bool matched = false;
    Node child;
    for (std::size_t offset = node.children; offset < node.end;) {
      if (!ReadNode(block, wide, offset, node.end, &child)) break;
      if (KeyEquals(child.key, name)) {
        matched = true;
        break;
      }
      offset = Align4(child.end);
    }
    if (!matched) return false;
    node = child;
  }
  *found = node;
  return true;
}

char ToWindows1252(char16_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
  static const char16_t kHigh[32] = {
      0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
      0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
      0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
  for (int i = 0; i < 32; ++i)
    if (kHigh[i] == c && c != 0) return static_cast<char>(0x80 + i);
  return '?';
}

// The version resource of a 16-bit (NE) file: type 0x8010, id 0x8001 in its resource table.
bool ExtractNeVersion(const Bytes& file, std::size_t ne, std::vector<std::uint8_t>* block) {
  if (!file.Has(ne, 0x40)) return false;
  std::size_t at = ne + file.U16(ne + 0x24);
  if (!file.Has(at, 2)) return false;
  const unsigned shift = file.U16(at);
  if (shift > 16) return false;
  at += 2;
  for (;;) {
    if (!file.Has(at, 2)) return false;
    const unsigned type = file.U16(at);
    if (type == 0) return false;
    if (!file.Has(at, 8)) return false;
    const unsigned count = file.U16(at + 2);
    at += 8;
    for (unsigned i = 0; i < count; ++i, at += 12) {
      if (!file.Has(at, 12)) return false;
      if (type != 0x8010 || file.U16(at + 6) != 0x8001) continue;
      const std::size_t offset = static_cast<std::size_t>(file.U16(at)) << shift;
      const std::size_t length = static_cast<std::size_t>(file.U16(at + 2)) << shift;
      if (!file.Has(offset, 4)) return false;
      // The block states its own length; the shifted length only rounds it up.
      const std::size_t stated = file.U16(offset);
      if (stated < 4 || stated > length || !file.Has(offset, stated)) return false;
      block->assign(file.data() + offset, file.data() + offset + stated);
      return true;
    }
  }
}

}  // namespace

bool ExtractVersionResource(const std::uint8_t* data, std::size_t size,
                            std::vector<std::uint8_t>* block) {
  const Bytes file(data, size);
  if (!file.Has(0, 64) || file.U16(0) != 0x5A4D) return false;
  const std::size_t pe = file.U32(60);
  if (file.Has(pe, 2) && file.U16(pe) == 0x454E) return ExtractNeVersion(file, pe, block);
  if (!file.Has(pe, 24) || file.U32(pe) != 0x00004550) return false;
  const unsigned section_count = file.U16(pe + 6);
  const std::size_t optional = pe + 24;
  const std::size_t optional_size = file.U16(pe + 20);
  if (!file.Has(optional, 2)) return false;
  const std::uint16_t magic = file.U16(optional);
  std::size_t directories = 0, directory_count_at = 0;
  if (magic == 0x10B) {
    directory_count_at = optional + 92, directories = optional + 96;
  } else if (magic == 0x20B) {
    directory_count_at = optional + 108, directories = optional + 112;
  } else {
    return false;
  }
  if (!file.Has(directories, 24) || directories + 24 > optional + optional_size) return false;
  if (file.U32(directory_count_at) < 3) return false;
  const std::uint32_t resource_rva = file.U32(directories + 16);
  if (resource_rva == 0) return false;

  const std::size_t sections = optional + optional_size;
  std::size_t resources = 0, resources_size = 0;
  if (!RvaToOffset(file, sections, section_count, resource_rva, &resources, &resources_size) ||
      !file.Has(resources, resources_size))
    return false;

  std::uint32_t target = 0;
  if (!FindEntry(file, resources, resources_size, 0, kVersionType, &target) ||
      !(target & kSubdirectoryFlag))
    return false;
  if (!FindEntry(file, resources, resources_size, target & ~kSubdirectoryFlag, kVersionId,
                 &target) ||
      !(target & kSubdirectoryFlag))
    return false;
  // The language the resource loader of an English system takes first, else the first one.
  const std::uint32_t languages = target & ~kSubdirectoryFlag;
  bool found = false;
  for (std::uint32_t language : {0x0000u, 0x0409u, 0x0009u, 0x0400u, 0x0800u}) {
    if (FindEntry(file, resources, resources_size, languages, language, &target, true)) {
      found = true;
      break;
    }
  }
  if ((!found && !FindEntry(file, resources, resources_size, languages, 0, &target)) ||
      (target & kSubdirectoryFlag) || target > resources_size ||
      !file.Has(resources + target, 16))
    return false;

  const std::uint32_t data_rva = file.U32(resources + target);
  const std::uint32_t data_size = file.U32(resources + target + 4);
  std::size_t offset = 0, left = 0;
  if (!RvaToOffset(file, sections, section_count, data_rva, &offset, &left) || data_size > left ||
      !file.Has(offset, data_size) || data_size < 6)
    return false;
  block->assign(data + offset, data + offset + data_size);
  return true;
}

bool QueryVersionTranslation(const std::vector<std::uint8_t>& data, std::uint32_t* translation) {
  Node node;
  if (!FindNode(data, "\\VarFileInfo\\Translation", &node)) return false;
  const Bytes block(data.data(), data.size());
  if (node.value_length < 4 || node.value + 4 > node.end || !block.Has(node.value, 4)) return false;
  *translation = block.U32(node.value);
  return true;
}

bool QueryVersionString(const std::vector<std::uint8_t>& data, const std::string& sub_block,
                        std::string* text) {
  Node node;
  if (!FindNode(data, sub_block, &node)) return false;
  const Bytes block(data.data(), data.size());
  text->clear();
  if (!IsWide(data)) {
    for (std::size_t at = node.value; at < node.value + node.value_length && at < node.end; ++at) {
      if (data[at] == 0) break;
      *text += static_cast<char>(data[at]);
    }
    return true;
  }
  // The stated length may count bytes rather than characters; the node's end bounds it.
  for (std::size_t at = node.value, n = 0; n < node.value_length && at + 2 <= node.end;
       at += 2, ++n) {
    const char16_t c = block.U16(at);
    if (c == 0) break;
    *text += ToWindows1252(c);
  }
  return true;
}

}  // namespace corvane
