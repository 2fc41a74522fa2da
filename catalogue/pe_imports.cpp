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
constexpr std::uint64_t kSizeOfHeadersOffset = 60;  // in the optional header, either layout
constexpr std::uint64_t kImportDirectory32 = 104;   // data directory entry 1
constexpr std::uint64_t kImportDirectory64 = 120;
constexpr std::uint64_t kDelayDirectory32 = 200;  // data directory entry 13
constexpr std::uint64_t kDelayDirectory64 = 216;
constexpr std::uint64_t kImageBase32 = 28;
constexpr std::uint32_t kDelayRvaAttribute = 1;
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

// How one kind of descriptor array is laid out.
struct TableKind {
  std::uint64_t descriptor_size;
  std::uint64_t name_offset;
  bool delay;  // the delay-load layout, whose addresses may be virtual addresses
};

constexpr TableKind kOrdinaryTable{20, 12, false};
constexpr TableKind kDelayTable{32, 4, true};

class ImportReader {
 public:
  // budget: the bytes that names may still take, shared by the tables of one file.
  ImportReader(const Bytes& bytes, const std::vector<Section>& sections, TableKind kind,
               std::uint64_t image_base, std::size_t* budget, std::vector<std::string>* names)
      : bytes_(bytes), sections_(sections), kind_(kind), image_base_(image_base),
        budget_(budget), names_(names) {}

  // Walks the descriptors of every section holding the table; a read that would leave the
  // bytes ends the list.
  void Read(std::uint32_t table_rva) {
    for (const Section& section : sections_) {
      if (section.Holds(table_rva) && !WalkDescriptors(section, table_rva)) return;
    }
  }

 private:
  bool WalkDescriptors(const Section& section, std::uint32_t table_rva) {
    for (std::uint64_t at = section.FileOffset(table_rva);; at += kind_.descriptor_size) {
      // Sections that map the table to the same bytes would only repeat the same names.
      if (!walked_.insert(at).second) return true;
      if (!bytes_.Has(at, kind_.descriptor_size)) return false;
      std::uint32_t name_rva = bytes_.U32(at + kind_.name_offset);
      if (name_rva == 0) return true;
      if (kind_.delay && (bytes_.U32(at) & kDelayRvaAttribute) == 0) {
        // A virtual address below the image base points nowhere in it.
        if (image_base_ == 0 || name_rva < image_base_) return false;
        name_rva = static_cast<std::uint32_t>(name_rva - image_base_);
      }
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
    if (length > *budget_) return false;
    *budget_ -= length;
    return true;
  }

  const Section* Holder(std::uint32_t address) const {
    for (const Section& section : sections_) {
      if (section.Holds(address)) return &section;
    }
    return nullptr;
  }

  const Bytes& bytes_;
  const std::vector<Section>& sections_;
  TableKind kind_;
  std::uint64_t image_base_;
  std::size_t* budget_;
  std::vector<std::string>* names_;
  std::unordered_set<std::uint64_t> walked_;
  std::unordered_set<std::uint64_t> named_;
};

// The RVA in data-directory entry at offset directory, 0 when the optional header is too
// short to hold the entry.
std::uint32_t DirectoryRva(const Bytes& bytes, std::uint64_t optional, std::uint16_t optional_size,
                           std::uint64_t directory) {
  return optional_size < directory + 8 ? 0 : bytes.U32(optional + directory);
}

}  // namespace

bool ReadImportNames(const std::uint8_t* data, std::size_t size,
                     std::vector<std::string>* names) {
  ImportTable table;
  if (!ReadImportTable(data, size, &table)) return false;
  names->insert(names->end(), table.names.begin(), table.names.end());
  return true;
}

bool ReadImportTable(const std::uint8_t* data, std::size_t size, ImportTable* table) {
  const Bytes bytes(data, size);
  if (!bytes.Has(0, kDosHeaderSize) || bytes.U16(0) != kDosMagic) return false;
  const std::uint64_t pe = bytes.U32(kLfanewOffset);
  if (!bytes.Has(pe, kFileHeaderEnd)) return false;
  const std::uint16_t section_count = bytes.U16(pe + 6);
  const std::uint16_t optional_size = bytes.U16(pe + 20);
  const std::uint64_t optional = pe + kFileHeaderEnd;
  if (!bytes.Has(optional, optional_size)) return false;

  const bool pe32_plus = optional_size >= 2 && bytes.U16(optional) == kPe32PlusMagic;
  table->pe32_plus = pe32_plus;
  const std::uint32_t import_rva = DirectoryRva(
      bytes, optional, optional_size, pe32_plus ? kImportDirectory64 : kImportDirectory32);
  const std::uint32_t delay_rva = DirectoryRva(
      bytes, optional, optional_size, pe32_plus ? kDelayDirectory64 : kDelayDirectory32);
  if (import_rva == 0 && delay_rva == 0) return true;

  // The header area counts as a first section at RVA 0.
  std::vector<Section> sections{{0, 0, bytes.U32(optional + kSizeOfHeadersOffset)}};
  const std::uint64_t section_table = optional + optional_size;
  for (std::uint64_t i = 0; i < section_count; ++i) {
    const std::uint64_t header = section_table + i * kSectionHeaderSize;
    // A header outside the bytes ends the table; the sections before it still count.
    if (!bytes.Has(header, kSectionHeaderSize)) break;
    sections.push_back({bytes.U32(header + 20), bytes.U32(header + 12), bytes.U32(header + 16)});
  }
  // Old delay-load tables give 32-bit virtual addresses: only a PE32 image base can turn them
  // into RVAs.
  const std::uint64_t image_base =
      !pe32_plus && optional_size >= kImageBase32 + 4 ? bytes.U32(optional + kImageBase32) : 0;
  std::size_t budget = size;
  if (import_rva != 0)
    ImportReader(bytes, sections, kOrdinaryTable, image_base, &budget, &table->names).Read(import_rva);
  if (delay_rva != 0)
    ImportReader(bytes, sections, kDelayTable, image_base, &budget, &table->delay_names).Read(delay_rva);
  return true;
}

}  // namespace corvane
