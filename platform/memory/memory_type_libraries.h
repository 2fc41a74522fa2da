// In-memory type libraries: files that load as a given library, or fail with a given HRESULT.
#pragma once
#include <map>
#include <string>

#include "platform/type_libraries.h"

namespace corvane {

class MemoryTypeLibraries : public TypeLibraries {
 public:
  long LoadFile(const std::string& path, TypeLibrary* library) override;
  std::string DescribeResult(long result) override;

  void AddLibrary(const std::string& path, const TypeLibrary& library);
  void AddFailure(const std::string& path, long result);
  int loads() const { return loads_; }

 private:
  std::map<std::string, TypeLibrary> libraries_;  // upper-cased path
  std::map<std::string, long> failures_;
  int loads_ = 0;
};

}  // namespace corvane
