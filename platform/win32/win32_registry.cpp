#include "platform/win32/win32_registry.h"

#include <windows.h>

#include <algorithm>
#include "platform/win32/wow64_redirection.h"

namespace corvane {

namespace {

HKEY ToHkey(RegKey key) { return reinterpret_cast<HKEY>(key); }

const wchar_t* Wide(const std::u16string& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}

// A key's own handle deleted through ntdll: the only deletion that does not follow a link.
long DeleteOpenKey(HKEY key) {
  using NtDeleteKeyFn = LONG(NTAPI*)(HANDLE);
  using StatusToErrorFn = ULONG(NTAPI*)(LONG);
  static const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  static const auto delete_key = reinterpret_cast<NtDeleteKeyFn>(
      reinterpret_cast<void*>(GetProcAddress(ntdll, "NtDeleteKey")));
  static const auto to_error = reinterpret_cast<StatusToErrorFn>(
      reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlNtStatusToDosError")));
  if (delete_key == nullptr || to_error == nullptr) return ERROR_CALL_NOT_IMPLEMENTED;
  const LONG status = delete_key(key);
  return status == 0 ? ERROR_SUCCESS : static_cast<long>(to_error(status));
}

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

long Win32Registry::OpenKeyW(RegKey parent, const std::u16string& path, std::uint32_t access,
                             RegKey* out) {
  HKEY key = nullptr;
  LONG rc = RegOpenKeyExW(ToHkey(parent), Wide(path), REG_OPTION_OPEN_LINK,
                          access | ViewAccess(), &key);
  if (rc == ERROR_SUCCESS) *out = reinterpret_cast<RegKey>(key);
  return rc;
}

long Win32Registry::CreateKeyW(RegKey parent, const std::u16string& path, RegKey* out) {
  HKEY key = nullptr;
  LONG rc = RegCreateKeyExW(ToHkey(parent), Wide(path), 0, nullptr, REG_OPTION_NON_VOLATILE,
                            KEY_ALL_ACCESS | ViewAccess(), nullptr, &key, nullptr);
  if (rc == ERROR_SUCCESS) *out = reinterpret_cast<RegKey>(key);
  return rc;
}

long Win32Registry::EnumKeyW(RegKey key, std::uint32_t index, std::u16string* name) {
  wchar_t buffer[256];  // a key name has at most 255 characters
  DWORD length = 256;
  LONG rc = RegEnumKeyExW(ToHkey(key), index, buffer, &length, nullptr, nullptr, nullptr, nullptr);
  if (rc == ERROR_SUCCESS) name->assign(reinterpret_cast<const char16_t*>(buffer), length);
  return rc;
}

long Win32Registry::EnumValueW(RegKey key, std::uint32_t index, std::u16string* name,
                               std::uint32_t* type, std::vector<std::uint8_t>* data) {
  // Most values fit a small buffer; a larger one is sized by the key's own maxima.
  std::vector<wchar_t> name_buffer(256);
  data->resize(1024);
  for (int attempt = 0; attempt < 4; ++attempt) {
    DWORD name_length = static_cast<DWORD>(name_buffer.size());
    DWORD data_length = static_cast<DWORD>(data->size());
    DWORD value_type = 0;
    LONG rc = RegEnumValueW(ToHkey(key), index, name_buffer.data(), &name_length, nullptr,
                            &value_type, data->data(), &data_length);
    if (rc == ERROR_SUCCESS) {
      name->assign(reinterpret_cast<const char16_t*>(name_buffer.data()), name_length);
      *type = value_type;
      data->resize(data_length);
      return rc;
    }
    if (rc != ERROR_MORE_DATA) return rc;
    DWORD max_name = 0, max_data = 0;
    rc = RegQueryInfoKeyW(ToHkey(key), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                          nullptr, &max_name, &max_data, nullptr, nullptr);
    if (rc != ERROR_SUCCESS) return rc;
    name_buffer.resize(std::max<std::size_t>(name_buffer.size() * 2, max_name + 1));
    data->resize(std::max<std::size_t>(data->size() * 2, max_data));
  }
  return ERROR_MORE_DATA;
}

long Win32Registry::QueryValueW(RegKey key, const std::u16string& name, std::uint32_t* type,
                                std::vector<std::uint8_t>* data) {
  data->resize(1024);
  for (int attempt = 0; attempt < 4; ++attempt) {
    DWORD length = static_cast<DWORD>(data->size());
    DWORD value_type = 0;
    LONG rc = RegQueryValueExW(ToHkey(key), Wide(name), nullptr, &value_type, data->data(), &length);
    if (rc == ERROR_SUCCESS) {
      *type = value_type;
      data->resize(length);
      return rc;
    }
    if (rc != ERROR_MORE_DATA) return rc;
    data->resize(std::max<std::size_t>(data->size() * 2, length));
  }
  return ERROR_MORE_DATA;
}

long Win32Registry::SetValueW(RegKey key, const std::u16string& name, std::uint32_t type,
                              const std::vector<std::uint8_t>& data) {
  return RegSetValueExW(ToHkey(key), Wide(name), 0, type, data.data(),
                        static_cast<DWORD>(data.size()));
}

long Win32Registry::DeleteKeyW(RegKey parent, const std::u16string& name) {
  HKEY key = nullptr;
  LONG rc = RegOpenKeyExW(ToHkey(parent), Wide(name), REG_OPTION_OPEN_LINK,
                          DELETE | KEY_QUERY_VALUE | ViewAccess(), &key);
  if (rc != ERROR_SUCCESS) return rc;
  DWORD subkeys = 0;
  rc = RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr,
                        nullptr, nullptr, nullptr, nullptr);
  if (rc == ERROR_SUCCESS) rc = subkeys == 0 ? DeleteOpenKey(key) : ERROR_ACCESS_DENIED;
  RegCloseKey(key);
  return rc;
}

}  // namespace corvane
