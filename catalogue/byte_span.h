// Bounded little-endian reads over a file's bytes: callers check Has before each read.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace corvane {

// Offsets are 64-bit so that adding a 32-bit field to them can't wrap.
class ByteSpan {
 public:
  ByteSpan(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool Has(std::uint64_t offset, std::uint64_t length) const {
    return offset <= size_ && length <= size_ - offset;
  }
  std::uint16_t U16(std::uint64_t offset) const {
    return static_cast<std::uint16_t>(data_[offset] | data_[offset + 1] << 8);
  }
  std::uint32_t U32(std::uint64_t offset) const {
    return static_cast<std::uint32_t>(U16(offset)) |
           static_cast<std::uint32_t>(U16(offset + 2)) << 16;
  }
  // The zero-terminated text at offset; false when it doesn't end inside the bytes or within
  // max_length characters.
  bool Text(std::uint64_t offset, std::size_t max_length, std::string* text) const {
    if (offset >= size_) return false;
    const std::size_t span = static_cast<std::size_t>(size_ - offset);
    const void* end = std::memchr(data_ + offset, 0, span <= max_length ? span : max_length + 1);
    if (end == nullptr) return false;
    text->assign(reinterpret_cast<const char*>(data_ + offset),
                 static_cast<const std::uint8_t*>(end) - (data_ + offset));
    return true;
  }
  const std::uint8_t* data() const { return data_; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
};

}  // namespace corvane
