// Whether a PE file is a 32-bit or a 64-bit program, from its optional header's magic.
#pragma once
#include <cstddef>
#include <cstdint>

namespace corvane {

// 32 for PE32, 64 for PE32+, 0 when the bytes are not a PE image; every read stays inside.
int ReadImageBits(const std::uint8_t* data, std::size_t size);

}  // namespace corvane
