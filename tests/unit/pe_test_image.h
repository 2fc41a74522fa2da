// Small PE images built in memory for tests: the headers, one section holding the import
// descriptors and the names, and the offsets of the parts a test may spoil.
#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace corvane {

struct PeLayout {
  bool pe32_plus = false;
  // Bytes of filler after the standard optional header, counted in SizeOfOptionalHeader.
  std::uint16_t extra_optional = 0;
  // Delay-load imports, after the ordinary ones in the same section.
  std::vector<std::string> delay_imports;
  // The old delay-load format: virtual addresses (image base 0x400000) instead of RVAs.
  bool delay_virtual_addresses = false;
};

struct PeTestImage {
  static constexpr std::uint32_t kSectionRva = 0x1000;
  std::vector<std::uint8_t> bytes;
  std::size_t pe = 0x40;  // e_lfanew
  std::size_t optional = 0;
  std::size_t section_table = 0;
  std::size_t section_raw = 0;  // the descriptors start here
  std::size_t names = 0;        // the first name starts here

  void Put16(std::size_t at, std::uint16_t value) {
    Grow(at + 2);
    bytes[at] = static_cast<std::uint8_t>(value);
    bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
  }
  void Put32(std::size_t at, std::uint32_t value) {
    Put16(at, static_cast<std::uint16_t>(value));
    Put16(at + 2, static_cast<std::uint16_t>(value >> 16));
  }
  void PutText(std::size_t at, const std::string& text) {
    Grow(at + text.size() + 1);
    for (std::size_t i = 0; i < text.size(); ++i) bytes[at + i] = static_cast<std::uint8_t>(text[i]);
    bytes[at + text.size()] = 0;
  }
  std::size_t ImportDirectory() const { return optional + (pe32_plus ? 120 : 104); }
  std::size_t Descriptor(std::size_t index) const { return section_raw + 20 * index; }
  std::size_t DelayDirectory() const { return optional + (pe32_plus ? 216 : 200); }
  std::size_t delay_table = 0;  // the delay-load descriptors start here
  bool pe32_plus = false;

 private:
  void Grow(std::size_t size) {
    if (bytes.size() < size) bytes.resize(size, 0);
  }
};

inline std::size_t AlignUp(std::size_t value, std::size_t alignment) {
  return (value + alignment - 1) / alignment * alignment;
}

inline PeTestImage BuildPeImage(const std::vector<std::string>& imports, PeLayout layout = {}) {
  PeTestImage image;
  image.pe32_plus = layout.pe32_plus;
  image.Put16(0, 0x5A4D);
  image.Put32(60, static_cast<std::uint32_t>(image.pe));
  image.PutText(image.pe, "PE");
  image.Put16(image.pe + 4, layout.pe32_plus ? 0x8664 : 0x14C);
  image.Put16(image.pe + 6, 1);
  const std::uint16_t optional_size =
      static_cast<std::uint16_t>((layout.pe32_plus ? 240 : 224) + layout.extra_optional);
  image.Put16(image.pe + 20, optional_size);
  image.optional = image.pe + 24;
  image.Put16(image.optional, layout.pe32_plus ? 0x20B : 0x10B);
  image.Put32(image.optional + (layout.pe32_plus ? 108 : 92), 16);  // NumberOfRvaAndSizes
  // Filler that a section table read at the standard place would take for a section.
  image.bytes.resize(image.optional + optional_size, 0);
  std::fill(image.bytes.end() - layout.extra_optional, image.bytes.end(), 0xEE);
  image.section_table = image.optional + optional_size;
  const std::size_t headers = AlignUp(image.section_table + 40, 0x200);
  image.Put32(image.optional + 60, static_cast<std::uint32_t>(headers));  // SizeOfHeaders

  image.section_raw = headers;
  image.names = headers + 20 * (imports.size() + 1);
  std::size_t at = image.names;
  for (std::size_t i = 0; i < imports.size(); ++i) {
    image.Put32(image.Descriptor(i) + 12,
                static_cast<std::uint32_t>(PeTestImage::kSectionRva + at - headers));
    image.PutText(at, imports[i]);
    at += imports[i].size() + 1;
  }
  image.Put32(image.Descriptor(imports.size()) + 12, 0);
  const auto rva_of = [&](std::size_t offset) {
    return static_cast<std::uint32_t>(PeTestImage::kSectionRva + offset - headers);
  };
  if (!layout.delay_imports.empty()) {
    constexpr std::uint32_t kImageBase = 0x400000;
    if (!layout.pe32_plus) image.Put32(image.optional + 28, kImageBase);
    image.delay_table = at;
    at += 32 * (layout.delay_imports.size() + 1);
    for (std::size_t i = 0; i < layout.delay_imports.size(); ++i) {
      const std::size_t descriptor = image.delay_table + 32 * i;
      image.Put32(descriptor, layout.delay_virtual_addresses ? 0 : 1);
      image.Put32(descriptor + 4, rva_of(at) + (layout.delay_virtual_addresses ? kImageBase : 0));
      image.PutText(at, layout.delay_imports[i]);
      at += layout.delay_imports[i].size() + 1;
    }
    image.Put32(image.delay_table + 32 * layout.delay_imports.size() + 4, 0);
    image.Put32(image.DelayDirectory(), rva_of(image.delay_table));
  }
  const std::size_t raw_size = AlignUp(at - headers, 0x200);
  image.bytes.resize(headers + raw_size, 0);

  image.PutText(image.section_table, ".idata");
  image.Put32(image.section_table + 8, static_cast<std::uint32_t>(raw_size));  // VirtualSize
  image.Put32(image.section_table + 12, PeTestImage::kSectionRva);
  image.Put32(image.section_table + 16, static_cast<std::uint32_t>(raw_size));
  image.Put32(image.section_table + 20, static_cast<std::uint32_t>(headers));
  if (!imports.empty()) {
    image.Put32(image.ImportDirectory(), PeTestImage::kSectionRva);
    image.Put32(image.ImportDirectory() + 4, static_cast<std::uint32_t>(20 * (imports.size() + 1)));
  }
  return image;
}

}  // namespace corvane
