// Small text helpers with the registry's and file system's case rules (ASCII case-blind).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace corvane {

std::string ToUpper(std::string text);
bool EqualsNoCase(const std::string& a, const std::string& b);
// A field of a comma-delimited line: in double quotes, a quote inside it doubled.
std::string CsvField(const std::string& text);

// Wide registry names and text. Widen takes each byte as the character of the same number
// (exact for ASCII); Shown gives a character past 0xFF as '?', for messages only.
std::u16string Widen(const std::string& text);
std::string Shown(const std::u16string& text);
// The registry's case rule for wide names: ASCII, Latin-1 and Cyrillic letters fold.
char16_t FoldCase(char16_t c);
bool EqualsNoCase(const std::u16string& a, const std::u16string& b);
std::u16string Folded(std::u16string text);
// A string value's stored bytes as text, up to its first terminator; an odd last byte is
// dropped.
std::u16string TextOfBytes(const std::vector<std::uint8_t>& bytes);
// Text as the bytes of a string value, terminator included.
std::vector<std::uint8_t> BytesOfText(const std::u16string& text);

}  // namespace corvane
