// Small text helpers with the registry's and file system's case rules (ASCII case-blind).
#pragma once
#include <string>

namespace corvane {

std::string ToUpper(std::string text);
bool EqualsNoCase(const std::string& a, const std::string& b);
// A field of a comma-delimited line: in double quotes, a quote inside it doubled.
std::string CsvField(const std::string& text);

}  // namespace corvane
