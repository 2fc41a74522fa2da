// The modules seam over kernel32's LoadLibraryA and GetProcAddress, and the loader's own
// answers: its API set schema, activation contexts, and mappings that run no code.
#pragma once
#include "platform/modules.h"

namespace corvane {

class Win32Modules : public Modules {
 public:
  ModuleHandle Load(const char* path) override;
  bool HasExport(ModuleHandle module, const char* name) override;
  bool CallExport(ModuleHandle module, const char* name, long* result) override;
  void Free(ModuleHandle module) override;
  std::vector<std::uint8_t> ApiSetSchema() override;
  std::string FindInAssembly(const char* importer, const char* name) override;
  std::string FindWithLoader(const char* name) override;
};

}  // namespace corvane
