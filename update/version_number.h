// A four-part version number (major.minor.third.fourth) with its text form and comparison.
#pragma once
#include <cstdint>
#include <string>

namespace corvane {

// Compare codes: what `this` is against the other number.
constexpr int kVersionMajorNewer = 5;
constexpr int kVersionMinorNewer = 4;
constexpr int kVersionThirdNewer = 3;
constexpr int kVersionFourthNewer = 2;
constexpr int kVersionEqual = 1;
constexpr int kVersionOlder = 0;

class CVersionNumber {
 public:
  CVersionNumber() = default;
  // The text is split at dots with empty pieces skipped ("2..1" is 2.1); each piece is read
  // as a decimal number from its start, 0 when it does not start with one; pieces after the
  // fourth are ignored.
  explicit CVersionNumber(const std::string& text);
  CVersionNumber(std::uint16_t major, std::uint16_t minor, std::uint16_t third,
                 std::uint16_t fourth);
  // From the two halves of a fixed file version.
  static CVersionNumber FromFixed(std::uint32_t most_significant, std::uint32_t least_significant);

  std::uint16_t major() const { return parts_[0]; }
  std::uint16_t minor() const { return parts_[1]; }
  std::uint16_t third() const { return parts_[2]; }
  std::uint16_t fourth() const { return parts_[3]; }
  void set_major(std::uint16_t value) { SetPart(0, value); }
  void set_minor(std::uint16_t value) { SetPart(1, value); }
  void set_third(std::uint16_t value) { SetPart(2, value); }
  void set_fourth(std::uint16_t value) { SetPart(3, value); }
  bool is_set() const { return set_; }

  // 5, 4, 3 or 2 when this is newer in the major, minor, third or fourth part; 1 when equal;
  // 0 when older. Callers treat 2 or more as newer.
  int Compare(const CVersionNumber& other) const;
  std::string ToString() const;

 private:
  void SetPart(int index, std::uint16_t value);

  std::uint16_t parts_[4] = {0, 0, 0, 0};
  bool set_ = false;
};

}  // namespace corvane
