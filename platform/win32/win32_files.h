// The files seam over kernel32.
#pragma once
#include "platform/files.h"

namespace corvane {

class Win32Files : public Files {
 public:
  bool FindFile(const char* path, FoundFile* found) override;
  std::uint32_t ExpandEnvironment(const char* source, char* out,
                                         std::uint32_t size) override;
};

}  // namespace corvane
