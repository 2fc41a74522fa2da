// The type library seam: reading a type library file through the system's loader.
#pragma once
#include <cstdint>
#include <string>

#include "catalogue/type_library.h"

namespace corvane {

class TypeLibraries {
 public:
  virtual ~TypeLibraries() = default;

  // LoadTypeLibEx without registering, then, when library is not null, every type read out:
  // 0 (and *library filled), or the failing HRESULT. A file may name a resource of a module
  // ("server.dll\2").
  virtual long LoadFile(const std::string& path, TypeLibrary* library) = 0;
  // An HRESULT in words, with its number.
  virtual std::string DescribeResult(long result) = 0;
};

// Whether an HRESULT is a failure, whatever the width of long.
inline bool IsFailedResult(long result) { return static_cast<std::int32_t>(result) < 0; }

}  // namespace corvane
