// The modules seam over kernel32's LoadLibraryA and GetProcAddress.
#pragma once
#include "platform/modules.h"

namespace corvane {

class Win32Modules : public Modules {
 public:
  ModuleHandle Load(const char* path) override;
  bool HasExport(ModuleHandle module, const char* name) override;
  bool CallExport(ModuleHandle module, const char* name, long* result) override;
  void Free(ModuleHandle module) override;
};

}  // namespace corvane
