// The files seam: the kernel32 file calls the core makes, with their Win32 semantics.
#pragma once
#include <cstdint>
#include <string>

namespace corvane {

// What FindFirstFileA reports of one file or directory.
struct FoundFile {
  std::string long_name;   // cFileName: the name, without the folder
  std::string short_name;  // cAlternateFileName: the 8.3 name, empty when the name is 8.3 already
  std::uint64_t size = 0;
  bool is_directory = false;
  // FILETIMEs: 100 ns ticks since 1601-01-01 UTC.
  std::uint64_t creation_time = 0;
  std::uint64_t last_write_time = 0;
  std::uint64_t last_access_time = 0;
};

class Files {
 public:
  virtual ~Files() = default;

  // FindFirstFileA on the path as given (the handle is closed at once): true when found.
  virtual bool FindFile(const char* path, FoundFile* found) = 0;
  // ExpandEnvironmentStringsA: the length needed including the terminator, 0 on failure;
  // writes the result only when it fits in size characters.
  virtual std::uint32_t ExpandEnvironment(const char* source, char* out,
                                                 std::uint32_t size) = 0;
};

}  // namespace corvane
