// The modules seam: loading a DLL and calling one of its exports.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

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

  // What the loader itself would do with a DLL name, asked without running any DLL's code.
  // The API set schema the process's loader resolves contracts with, as its bytes; empty
  // when the system has none.
  virtual std::vector<std::uint8_t> ApiSetSchema() = 0;
  // Where the importer's activation context (its embedded manifest, or the .manifest file
  // beside it) redirects the DLL name; empty when it has none or redirects nothing there.
  virtual std::string FindInAssembly(const char* importer, const char* name) = 0;
  // The file the loader maps for a bare DLL name, mapped without its code running and
  // released at once; empty when the loader maps none.
  virtual std::string FindWithLoader(const char* name) = 0;
  // Starts a program's command line hidden, waits for its end and gives its exit code; false
  // when it could not be started (and where nothing can be started at all).
  virtual bool RunAndWait(const std::string& command_line, std::uint32_t* exit_code) {
    (void)command_line;
    (void)exit_code;
    return false;
  }
};

}  // namespace corvane
