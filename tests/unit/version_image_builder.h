// Builds version blocks and PE images that carry them, for tests of the version reader.
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace corvane {

using ByteString = std::vector<std::uint8_t>;

inline void Put16(ByteString& b, std::size_t at, std::uint32_t v) {
  if (b.size() < at + 2) b.resize(at + 2);
  b[at] = static_cast<std::uint8_t>(v);
  b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
inline void Put32(ByteString& b, std::size_t at, std::uint32_t v) {
  Put16(b, at, v & 0xFFFF);
  Put16(b, at + 2, v >> 16);
}
inline void Pad4(ByteString& b) {
  while (b.size() % 4) b.push_back(0);
}

// A node of a 32-bit version block: UTF-16 key, then a text or binary value, then children.
inline ByteString VersionNode(const std::u16string& key, bool text, const ByteString& value,
                              const std::vector<ByteString>& children = {}) {
  ByteString node(6, 0);
  for (char16_t c : key + u'\0') node.push_back(c & 0xFF), node.push_back(c >> 8);
  Pad4(node);
  node.insert(node.end(), value.begin(), value.end());
  for (const auto& child : children) {
    Pad4(node);
    node.insert(node.end(), child.begin(), child.end());
  }
  Put16(node, 0, static_cast<std::uint32_t>(node.size()));
  Put16(node, 2, static_cast<std::uint32_t>(text ? value.size() / 2 : value.size()));
  Put16(node, 4, text ? 1 : 0);
  return node;
}

inline ByteString Utf16Text(const std::u16string& text) {
  ByteString bytes;
  for (char16_t c : text + u'\0') bytes.push_back(c & 0xFF), bytes.push_back(c >> 8);
  return bytes;
}

// A version block with one string table and one translation.
inline ByteString VersionBlock(std::uint32_t translation, const std::u16string& table,
                               const std::vector<std::pair<std::u16string, std::u16string>>& strings) {
  std::vector<ByteString> string_nodes;
  for (const auto& [key, value] : strings) string_nodes.push_back(VersionNode(key, true, Utf16Text(value)));
  ByteString var(4);
  Put32(var, 0, translation);
  return VersionNode(u"VS_VERSION_INFO", false, ByteString(52, 0),
                     {VersionNode(u"StringFileInfo", true, {}, {VersionNode(table, true, {}, string_nodes)}),
                      VersionNode(u"VarFileInfo", true, {}, {VersionNode(u"Translation", false, var)})});
}

// A PE image (PE32, or PE32+ when wide) whose one section holds the resources: type 16,
// id 1, and one version block for each language given, in order.
inline ByteString VersionImage(const std::vector<std::pair<std::uint32_t, ByteString>>& languages,
                               bool pe32_plus = false) {
  const std::uint32_t section_rva = 0x1000, raw = 0x200;
  const std::size_t optional_size = pe32_plus ? 240 : 224;
  ByteString image(raw, 0);
  Put16(image, 0, 0x5A4D);
  Put32(image, 60, 64);
  Put32(image, 64, 0x00004550);
  Put16(image, 68, 0x14C);
  Put16(image, 70, 1);
  Put16(image, 84, static_cast<std::uint32_t>(optional_size));
  const std::size_t optional = 88;
  Put16(image, optional, pe32_plus ? 0x20B : 0x10B);
  const std::size_t directories = optional + (pe32_plus ? 112 : 96);
  Put32(image, directories - 4, 16);

  // The resource section: three directory levels, the data entries, then the blocks.
  ByteString rsrc(0x30, 0);
  Put16(rsrc, 14, 1);
  Put32(rsrc, 16, 16);
  Put32(rsrc, 20, 0x80000000u | 0x18);
  Put16(rsrc, 0x18 + 14, 1);
  Put32(rsrc, 0x18 + 16, 1);
  Put32(rsrc, 0x18 + 20, 0x80000000u | 0x30);
  const std::size_t level3 = 0x30, count = languages.size();
  rsrc.resize(level3 + 16 + 8 * count, 0);
  Put16(rsrc, level3 + 14, static_cast<std::uint32_t>(count));
  const std::size_t entries = rsrc.size();
  rsrc.resize(entries + 16 * count, 0);
  for (std::size_t i = 0; i < count; ++i) {
    Put32(rsrc, level3 + 16 + 8 * i, languages[i].first);
    Put32(rsrc, level3 + 20 + 8 * i, static_cast<std::uint32_t>(entries + 16 * i));
    Pad4(rsrc);
    const std::size_t at = rsrc.size();
    rsrc.insert(rsrc.end(), languages[i].second.begin(), languages[i].second.end());
    Put32(rsrc, entries + 16 * i, static_cast<std::uint32_t>(section_rva + at));
    Put32(rsrc, entries + 16 * i + 4, static_cast<std::uint32_t>(languages[i].second.size()));
  }
  Put32(image, directories + 16, section_rva);
  Put32(image, directories + 20, static_cast<std::uint32_t>(rsrc.size()));
  const std::size_t section = optional + optional_size;
  Put32(image, section + 8, static_cast<std::uint32_t>(rsrc.size()));
  Put32(image, section + 12, section_rva);
  Put32(image, section + 16, static_cast<std::uint32_t>(rsrc.size()));
  Put32(image, section + 20, raw);
  image.resize(raw);
  image.insert(image.end(), rsrc.begin(), rsrc.end());
  return image;
}

}  // namespace corvane
