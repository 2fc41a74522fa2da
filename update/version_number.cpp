#include "update/version_number.h"

#include <cstddef>

namespace corvane {

namespace {

constexpr long kPartLimit = 0xFFFF;

// Leading blanks, an optional sign and digits, as atoi reads them; a part cannot hold more
// than 65535 or less than 0, so larger and negative numbers stop at those bounds instead of
// wrapping round into a small, wrong version.
std::uint16_t ReadPart(const std::string& piece) {
  std::size_t at = 0;
  while (at < piece.size() && (piece[at] == ' ' || (piece[at] >= '\t' && piece[at] <= '\r'))) ++at;
  bool negative = false;
  if (at < piece.size() && (piece[at] == '+' || piece[at] == '-')) negative = piece[at++] == '-';
  long value = 0;
  for (; at < piece.size() && piece[at] >= '0' && piece[at] <= '9'; ++at) {
    if (value <= kPartLimit) value = value * 10 + (piece[at] - '0');
  }
  if (negative) return 0;
  return static_cast<std::uint16_t>(value > kPartLimit ? kPartLimit : value);
}

}  // namespace

CVersionNumber::CVersionNumber(const std::string& text) {
  int index = 0;
  std::size_t at = 0;
  while (index < 4 && at < text.size()) {
    std::size_t dot = text.find('.', at);
    if (dot == std::string::npos) dot = text.size();
    if (dot > at) SetPart(index++, ReadPart(text.substr(at, dot - at)));
    at = dot + 1;
  }
}

CVersionNumber::CVersionNumber(std::uint16_t major, std::uint16_t minor, std::uint16_t third,
                               std::uint16_t fourth)
    : parts_{major, minor, third, fourth}, set_(true) {}

CVersionNumber CVersionNumber::FromFixed(std::uint32_t most_significant,
                                         std::uint32_t least_significant) {
  return CVersionNumber(static_cast<std::uint16_t>(most_significant >> 16),
                        static_cast<std::uint16_t>(most_significant & 0xFFFF),
                        static_cast<std::uint16_t>(least_significant >> 16),
                        static_cast<std::uint16_t>(least_significant & 0xFFFF));
}

void CVersionNumber::SetPart(int index, std::uint16_t value) {
  parts_[index] = value;
  set_ = true;
}

int CVersionNumber::Compare(const CVersionNumber& other) const {
  for (int i = 0; i < 4; ++i) {
    if (parts_[i] > other.parts_[i]) return kVersionMajorNewer - i;
    if (parts_[i] < other.parts_[i]) return kVersionOlder;
  }
  return kVersionEqual;
}

std::string CVersionNumber::ToString() const {
  return std::to_string(parts_[0]) + "." + std::to_string(parts_[1]) + "." +
         std::to_string(parts_[2]) + "." + std::to_string(parts_[3]);
}

}  // namespace corvane
