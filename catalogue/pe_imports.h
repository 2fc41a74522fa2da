// The DLL names of a PE file's import tables, ordinary and delay-load, read from the file's
// bytes with every read kept inside them.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace corvane {

// Appends the names in table order. False when the bytes are not a PE file: no "MZ", or the
// PE headers lie outside the bytes. A section header, import descriptor or name that lies
// outside the bytes ends the list there; the names before it are kept and the result is true.
// So does a name longer than 259 characters, or one that would make the names together need
// more bytes than the file has: memory stays in proportion to the file. Descriptors naming the
// same bytes give that name once.
// Reads PE32 and PE32+ headers; the section table follows the optional header's stated size.
bool ReadImportNames(const std::uint8_t* data, std::size_t size,
                     std::vector<std::string>* names);

struct ImportTable {
  bool pe32_plus = false;  // a 64-bit image
  std::vector<std::string> names;        // the ordinary imports, bound when the file loads
  std::vector<std::string> delay_names;  // loaded on first use
};

// Both tables, under the same rules as ReadImportNames; the names of both together are held
// to the file's size. Delay-load descriptors may give virtual addresses instead of RVAs (the
// old format without the RVA attribute bit).
bool ReadImportTable(const std::uint8_t* data, std::size_t size, ImportTable* table);

}  // namespace corvane
