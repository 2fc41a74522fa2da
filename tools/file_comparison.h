// The comparison of two server files by their file attributes and version strings.
#pragma once
#include <string>
#include <vector>

#include "platform/platform.h"

namespace corvane {

struct ComparedAttribute {
  int index;  // 7 to 18 of the attribute table
  std::string label;
  std::string first;
  std::string second;
  bool equal;
};

struct FileComparison {
  std::vector<ComparedAttribute> rows;  // twelve, in index order
  bool identical = true;
};

// Reads both files as picked server files (neither needs to be registered) and compares size,
// dates and version strings exactly, under a wait cursor.
FileComparison CompareComFiles(const Platform& platform, const std::string& first_path,
                               const std::string& second_path);

}  // namespace corvane
