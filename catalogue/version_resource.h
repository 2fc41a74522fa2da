// The version resource of a PE file, read from the file's bytes, and the look-ups of its
// sub-blocks, as the version API answers them.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace corvane {

// Copies the VS_VERSION_INFO resource (type 16, id 1, first language) of a PE image into
// block. False when the bytes are not a PE image or have no such resource inside them.
bool ExtractVersionResource(const std::uint8_t* file, std::size_t size,
                            std::vector<std::uint8_t>* block);

// The first "\VarFileInfo\Translation" entry: language in the low 16 bits, code page in the
// high 16 bits.
bool QueryVersionTranslation(const std::vector<std::uint8_t>& block, std::uint32_t* translation);

// The text of a string sub-block such as "\StringFileInfo\040904b0\CompanyName" (keys compared
// without regard to case), converted to the Windows-1252 code page.
bool QueryVersionString(const std::vector<std::uint8_t>& block, const std::string& sub_block,
                        std::string* text);

}  // namespace corvane
