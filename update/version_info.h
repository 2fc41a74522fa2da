// The version resource of a file, read through the version API.
#pragma once
#include <string>
#include <vector>

#include "update/version_number.h"

class CVersionInfo {
 public:
  // Loads the resource; a file without one (or missing) leaves the reader empty.
  explicit CVersionInfo(const std::string& path);

  // The fixed file version; false, with the number unchanged, when there is none.
  bool GetFixedVersion(corvane::CVersionNumber* version) const;

 private:
  std::vector<unsigned char> resource_;
  std::string path_;
};
