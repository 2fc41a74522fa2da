#include "catalogue/type_library_layout.h"

#include <cstring>

namespace corvane {

namespace {

const std::size_t kHeaderSize = 0x54;
const std::size_t kVarFlags = 0x14;
const std::size_t kTypeCount = 0x20;
const std::uint32_t kHasHelpDll = 0x100;
const std::size_t kSegments = 15;
const std::size_t kSegmentEntry = 16;
const std::uint32_t kTypeInfoSize = 0x64;

std::uint32_t Read32(const std::uint8_t* at) {
  return static_cast<std::uint32_t>(at[0]) | static_cast<std::uint32_t>(at[1]) << 8 |
         static_cast<std::uint32_t>(at[2]) << 16 | static_cast<std::uint32_t>(at[3]) << 24;
}

}  // namespace

bool TypeLibLayoutSound(const std::uint8_t* data, std::size_t size) {
  if (data == nullptr || size < 4 || std::memcmp(data, "MSFT", 4) != 0) return true;
  if (size < kHeaderSize) return false;
  const std::uint32_t count = Read32(data + kTypeCount);
  if (count > 0xFFFF) return false;
  const std::size_t directory =
      kHeaderSize + 4 * std::size_t{count} + ((Read32(data + kVarFlags) & kHasHelpDll) ? 4 : 0);
  if (directory + kSegments * kSegmentEntry > size) return false;
  for (std::size_t i = 0; i < kSegments; ++i) {
    const std::uint32_t offset = Read32(data + directory + i * kSegmentEntry);
    const std::uint32_t length = Read32(data + directory + i * kSegmentEntry + 4);
    if (offset == 0xFFFFFFFFu) continue;
    if (offset > size || length > size - offset) return false;
    // The first table holds one record per type.
    if (i == 0 && std::uint64_t{count} * kTypeInfoSize > length) return false;
  }
  return true;
}

}  // namespace corvane
