#include "catalogue/image_bits.h"

namespace corvane {

namespace {

std::uint32_t Read(const std::uint8_t* data, std::size_t at, int bytes) {
  std::uint32_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = value << 8 | data[at + i];
  return value;
}

}  // namespace

int ReadImageBits(const std::uint8_t* data, std::size_t size) {
  constexpr std::size_t kPeOffsetAt = 0x3C;
  constexpr std::size_t kFileHeaderSize = 20;
  if (data == nullptr || size < kPeOffsetAt + 4 || Read(data, 0, 2) != 0x5A4D) return 0;
  const std::size_t pe = Read(data, kPeOffsetAt, 4);
  if (pe > size || size - pe < 4 + kFileHeaderSize + 2 || Read(data, pe, 4) != 0x00004550)
    return 0;
  const std::size_t magic_at = pe + 4 + kFileHeaderSize;
  switch (Read(data, magic_at, 2)) {
    case 0x10B: return 32;
    case 0x20B: return 64;
    default: return 0;
  }
}

}  // namespace corvane
