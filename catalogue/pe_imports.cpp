#include "catalogue/pe_imports.h"

#include "catalogue/byte_span.h"

#include <cstring>
#include <unordered_set>
#include <utility>

namespace corvane {

namespace {

constexpr std::uint16_t kDosMagic = 0x5A4D;  // "MZ"
constexpr std::uint16_t kPe32PlusMagic = 0x20B;
constexpr std::uint64_t kDosHeaderSize = 64;
constexpr std::uint64_t kLfanewOffset = 60;
constexpr std::uint64_t kFileHeaderEnd = 24;  // the signature and the COFF file header
constexpr std::uint64_t kSectionHeaderSize = 40;
constexpr std::uint64_t kDescriptorSize = 20;
constexpr std::uint64_t kSizeOfHeadersOffset = 60;  // in the optional header, either layout
constexpr std::uint64_t kImportDirectory32 = 104;   // data directory entry 1
constexpr std::uint64_t kImportDirectory64 = 120;
// A DLL name is never longer than a path.
constexpr std::size_t kMaxNameLength = 259;

using Bytes = ByteSpan;

// Where a run of the file appears in the image: raw data at file offset raw, from RVA rva on.
struct Section {
  std::uint64_t raw;
  std::uint32_t rva;
  std::uint32_t size;
  bool Holds(std::uint32_t address) const {
    return address >= rva && address - rva < size;
  }
  std::uint64_t FileOffset(std::uint32_t address) const { return raw + (address - rva); }
};

class ImportReader {
 public:
  ImportReader(const Bytes& bytes, std::size_t size, std::vector<Section> sections,
               std::vector<std::string>* names)
      : bytes_(bytes), budget_(size), sections_(std::move(sections)), names_(names) {}

  // Walks the descriptors of every section holding the import table; false when a read
  // would leave the bytes, which ends the list.
  bool Read(std::uint32_t import_rva) {
    for (const Section& section : sections_) {
      if (section.Holds(import_rva) && !WalkDescriptors(section, import_rva)) return false;
    }
    return true;
  }

 private:
  bool WalkDescriptors(const Section& section, std::uint32_t import_rva) {
    for (std::uint64_t at = section.FileOffset(import_rva);; at += kDescriptorSize) {
      // Sections that map the table to the same bytes would only repeat the same names.
      if (!walked_.insert(at).second) return true;
      if (!bytes_.Has(at, kDescriptorSize)) return false;
      const std::uint32_t name_rva = bytes_.U32(at + 12);
      if (name_rva == 0) return true;
      const Section* holder = section.Holds(name_rva) ? &section : Holder(name_rva);
      if (holder == nullptr) return false;
      const std::uint64_t offset = holder->FileOffset(name_rva);
      // Descriptors naming the same bytes add nothing.
      if (!named_.insert(offset).second) continue;
      std::string name;
      if (!bytes_.Text(offset, kMaxNameLength, &name) || !Spend(name.size() + 1)) return false;
      names_->push_back(std::move(name));
    }
  }

  // The names of a real table lie apart in the file, so together they never need more bytes
  // than it has; names that would are crafted to take memory, and end the list.
  bool Spend(std::size_t length) {
    if (length > budget_) return false;
    budget_ -= length;
    return true;
  }

  const Section* Holder(std::uint32_t address) const {
    for (const Section& section : sections_) {
      if (section.Holds(address)) return &section;
    }
    return nullptr;
  }

  const Bytes& bytes_;
  std::size_t budget_;
  std::vector<Section> sections_;
  std::vector<std::string>* names_;
  std::unordered_set<std::uint64_t> walked_;
  std::unordered_set<std::uint64_t> named_;
};

}  // namespace

bool ReadImportNames(const std::uint8_t* data, std::size_t size,
                     std::vector<std::string>* names) {
  const Bytes bytes(data, size);
  if (!bytes.Has(0, kDosHeaderSize) || bytes.U16(0) != kDosMagic) return false;
  const std::uint64_t pe = bytes.U32(kLfanewOffset);
  if (!bytes.Has(pe, kFileHeaderEnd)) return false;
  const std::uint16_t section_count = bytes.U16(pe + 6);
  const std::uint16_t optional_size = bytes.U16(pe + 20);
  const std::uint64_t optional = pe + kFileHeaderEnd;
  if (!bytes.Has(optional, optional_size)) return false;

  const bool pe32_plus = optional_size >= 2 && bytes.U16(optional) == kPe32PlusMagic;
  const std::uint64_t directory = pe32_plus ? kImportDirectory64 : kImportDirectory32;
  // An optional header too short to hold the import entry has no import table.
  if (optional_size < directory + 8) return true;
  const std::uint32_t import_rva = bytes.U32(optional + directory);
  if (import_rva == 0) return true;

  // The header area counts as a first section at RVA 0.
  std::vector<Section> sections{{0, 0, bytes.U32(optional + kSizeOfHeadersOffset)}};
  const std::uint64_t table = optional + optional_size;
  for (std::uint64_t i = 0; i < section_count; ++i) {
    const std::uint64_t header = table + i * kSectionHeaderSize;
    // A header outside the bytes ends the table; the sections before it still count.
    if (!bytes.Has(header, kSectionHeaderSize)) break;
    sections.push_back({bytes.U32(header + 20), bytes.U32(header + 12), bytes.U32(header + 16)});
  }
  ImportReader reader(bytes, size, std::move(sections), names);
  reader.Read(import_rva);
  return true;
}

}  // namespace corvane
