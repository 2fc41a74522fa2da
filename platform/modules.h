// The modules seam: loading a DLL and calling one of its exports.
#pragma once
#include <cstdint>
#include <string>

namespace corvane {

using ModuleHandle = std::uintptr_t;  // an HMODULE as a number; 0 is none

class Modules {
 public:
  virtual ~Modules() = default;

  // LoadLibraryA: a handle, or 0 when the file can't be loaded.
  virtual ModuleHandle Load(const char* path) = 0;
  // GetProcAddress: whether the module exports the name.
  virtual bool HasExport(ModuleHandle module, const char* name) = 0;
  // Calls an export taking nothing and returning an HRESULT (the self-registration entry
  // points). False when the export is missing.
  virtual bool CallExport(ModuleHandle module, const char* name, long* result) = 0;
  // FreeLibrary.
  virtual void Free(ModuleHandle module) = 0;
  // Starts a program's command line hidden, waits for its end and gives its exit code; false
  // when it could not be started (and where nothing can be started at all).
  virtual bool RunAndWait(const std::string& command_line, std::uint32_t* exit_code) {
    (void)command_line;
    (void)exit_code;
    return false;
  }
};

}  // namespace corvane
