#include "platform/memory/memory_type_libraries.h"

#include <cstdio>

#include "platform/text.h"

namespace corvane {

namespace {
const long kCantLoadLibrary = static_cast<long>(0x80029C4AL);
}

long MemoryTypeLibraries::LoadFile(const std::string& path, TypeLibrary* library) {
  ++loads_;
  auto failure = failures_.find(ToUpper(path));
  if (failure != failures_.end()) return failure->second;
  auto found = libraries_.find(ToUpper(path));
  if (found == libraries_.end()) return kCantLoadLibrary;
  if (library != nullptr) {
    *library = found->second;
    library->file = path;
  }
  return 0;
}

std::string MemoryTypeLibraries::DescribeResult(long result) {
  char text[48];
  std::snprintf(text, sizeof text, "error 0x%08lX", static_cast<unsigned long>(result));
  return text;
}

void MemoryTypeLibraries::AddLibrary(const std::string& path, const TypeLibrary& library) {
  libraries_[ToUpper(path)] = library;
}

void MemoryTypeLibraries::AddFailure(const std::string& path, long result) {
  failures_[ToUpper(path)] = result;
}

}  // namespace corvane
