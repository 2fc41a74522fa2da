#include "platform/win32/win32_registry.h"

#include <windows.h>

#include "platform/win32/wow64_redirection.h"

namespace corvane {

namespace {

HKEY ToHkey(RegKey key) { return reinterpret_cast<HKEY>(key); }

// advapi32 of 32-bit Windows XP lacks it; there the one registry needs no view.
using DeleteKeyExFn = LONG(WINAPI*)(HKEY, LPCSTR, REGSAM, DWORD);
DeleteKeyExFn DeleteKeyEx() {
  static const auto function = reinterpret_cast<DeleteKeyExFn>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("advapi32.dll"), "RegDeleteKeyExA")));
  return function;
}

}  // namespace

bool Win32Registry::HasTwoViews() const { return sizeof(void*) == 8 || RunningUnderWow64(); }

std::uint32_t Win32Registry::ViewAccess() const {
  // A program's own view needs no bit (and keeps RegOverridePredefKey working under Wine,
  // which drops the override for keys opened with a view bit).
  if (!HasTwoViews() || view() == kBuildView) return 0;
  return view() == RegistryView::k64 ? KEY_WOW64_64KEY : KEY_WOW64_32KEY;
}

long Win32Registry::OpenKey(RegKey parent, const char* path, std::uint32_t access, RegKey* out) {
  HKEY key = nullptr;
  LONG rc = RegOpenKeyExA(ToHkey(parent), path, 0, access | ViewAccess(), &key);
  if (rc == ERROR_SUCCESS) *out = reinterpret_cast<RegKey>(key);
  return rc;
}

long Win32Registry::CreateKey(RegKey parent, const char* path, RegKey* out) {
  HKEY key = nullptr;
  LONG rc = RegCreateKeyExA(ToHkey(parent), path, 0, nullptr, REG_OPTION_NON_VOLATILE,
                            KEY_ALL_ACCESS | ViewAccess(), nullptr, &key, nullptr);
  if (rc == ERROR_SUCCESS) *out = reinterpret_cast<RegKey>(key);
  return rc;
}

long Win32Registry::EnumKey(RegKey key, std::uint32_t index, char* name, std::uint32_t* size) {
  DWORD length = *size;
  LONG rc = RegEnumKeyExA(ToHkey(key), index, name, &length, nullptr, nullptr, nullptr, nullptr);
  if (rc == ERROR_SUCCESS) *size = length;
  return rc;
}

long Win32Registry::EnumValue(RegKey key, std::uint32_t index, char* name,
                              std::uint32_t* name_size, std::uint32_t* type, std::uint8_t* data,
                              std::uint32_t* data_size) {
  DWORD name_length = *name_size;
  DWORD value_type = 0;
  DWORD data_length = data_size ? *data_size : 0;
  LONG rc = RegEnumValueA(ToHkey(key), index, name, &name_length, nullptr, &value_type, data,
                          data_size ? &data_length : nullptr);
  if (rc == ERROR_SUCCESS) {
    *name_size = name_length;
    if (type) *type = value_type;
    if (data_size) *data_size = data_length;
  }
  return rc;
}

long Win32Registry::QueryValue(RegKey key, const char* name, std::uint32_t* type,
                               std::uint8_t* data, std::uint32_t* size) {
  DWORD value_type = 0;
  DWORD length = size ? *size : 0;
  LONG rc = RegQueryValueExA(ToHkey(key), name, nullptr, &value_type, data,
                             size ? &length : nullptr);
  if (type) *type = value_type;
  if (size) *size = length;
  return rc;
}

long Win32Registry::SetValue(RegKey key, const char* name, std::uint32_t type,
                             const std::uint8_t* data, std::uint32_t size) {
  return RegSetValueExA(ToHkey(key), name, 0, type, data, size);
}

long Win32Registry::DeleteKey(RegKey parent, const char* path) {
  const std::uint32_t view = ViewAccess();
  if (view != 0 && DeleteKeyEx() != nullptr) return DeleteKeyEx()(ToHkey(parent), path, view, 0);
  return RegDeleteKeyA(ToHkey(parent), path);
}

long Win32Registry::CloseKey(RegKey key) { return RegCloseKey(ToHkey(key)); }

long Win32Registry::ConnectLocalMachine(const char* computer, RegKey* out) {
  HKEY key = nullptr;
  LONG rc = RegConnectRegistryA(computer, HKEY_LOCAL_MACHINE, &key);
  if (rc == ERROR_SUCCESS) *out = reinterpret_cast<RegKey>(key);
  return rc;
}

}  // namespace corvane
