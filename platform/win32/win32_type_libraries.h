// The type library seam over oleaut32: LoadTypeLibEx without registering, and every type
// read through ITypeLib and ITypeInfo with each answer checked.
#pragma once
#include "platform/type_libraries.h"

namespace corvane {

class Win32TypeLibraries : public TypeLibraries {
 public:
  long LoadFile(const std::string& path, TypeLibrary* library) override;
  std::string DescribeResult(long result) override;
};

}  // namespace corvane
