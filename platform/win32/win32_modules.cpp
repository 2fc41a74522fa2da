#include "platform/win32/win32_modules.h"

#include <windows.h>

namespace corvane {

namespace {

HMODULE ToHmodule(ModuleHandle module) { return reinterpret_cast<HMODULE>(module); }

}  // namespace

ModuleHandle Win32Modules::Load(const char* path) {
  return reinterpret_cast<ModuleHandle>(LoadLibraryA(path));
}

bool Win32Modules::HasExport(ModuleHandle module, const char* name) {
  return GetProcAddress(ToHmodule(module), name) != nullptr;
}

bool Win32Modules::CallExport(ModuleHandle module, const char* name, long* result) {
  using Entry = HRESULT(STDAPICALLTYPE*)();
  auto entry = reinterpret_cast<Entry>(
      reinterpret_cast<void*>(GetProcAddress(ToHmodule(module), name)));
  if (entry == nullptr) return false;
  *result = entry();
  return true;
}

void Win32Modules::Free(ModuleHandle module) { FreeLibrary(ToHmodule(module)); }

}  // namespace corvane
