// Small text helpers with the registry's and file system's case rules (ASCII case-blind).
#pragma once
#include <string>

namespace corvane {

std::string ToUpper(std::string text);
bool EqualsNoCase(const std::string& a, const std::string& b);

}  // namespace corvane
