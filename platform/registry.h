// The registry seam: the advapi32 calls the core makes, with their Win32 semantics.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/registry_view.h"
#include "platform/win32_codes.h"

namespace corvane {

// Every open, create and delete goes to the view chosen last, so that no caller can miss it.
class Registry {
 public:
  virtual ~Registry() = default;

  // True where the registry has two views (64-bit Windows); elsewhere the view changes nothing.
  virtual bool HasTwoViews() const { return false; }
  RegistryView view() const { return view_; }
  void set_view(RegistryView view) { view_ = view; }

  // RegOpenKeyExA: 0 and an open key in *out, or an error code.
  virtual long OpenKey(RegKey parent, const char* path, std::uint32_t access, RegKey* out) = 0;
  // RegCreateKeyExA: opens the key, creating it and any missing parents.
  virtual long CreateKey(RegKey parent, const char* path, RegKey* out) = 0;
  // RegEnumKeyExA: *size is the buffer size in, the name length out. A name that does not
  // fit gives kErrorMoreData; past the last key kErrorNoMoreItems.
  virtual long EnumKey(RegKey key, std::uint32_t index, char* name, std::uint32_t* size) = 0;
  // RegEnumValueA: *name_size is the name buffer in characters in, the name length out;
  // *data_size the data buffer in bytes in, the data length out. A name or data that does not
  // fit gives kErrorMoreData; past the last value kErrorNoMoreItems.
  virtual long EnumValue(RegKey key, std::uint32_t index, char* name, std::uint32_t* name_size,
                         std::uint32_t* type, std::uint8_t* data, std::uint32_t* data_size) = 0;
  // RegQueryValueExA: name null or empty for the default value; data may be null to ask
  // for the size. A value larger than *size gives kErrorMoreData.
  virtual long QueryValue(RegKey key, const char* name, std::uint32_t* type, std::uint8_t* data,
                          std::uint32_t* size) = 0;
  // RegSetValueExA.
  virtual long SetValue(RegKey key, const char* name, std::uint32_t type, const std::uint8_t* data,
                        std::uint32_t size) = 0;
  // RegDeleteKeyA: deletes a subkey that has no subkeys of its own.
  virtual long DeleteKey(RegKey parent, const char* path) = 0;
  // RegCloseKey.
  virtual long CloseKey(RegKey key) = 0;
  // RegConnectRegistryA of another computer's HKEY_LOCAL_MACHINE: 0 and a key in *out that
  // the caller closes, or an error code. A registry that reaches no other computer says so.
  virtual long ConnectLocalMachine(const char* computer, RegKey* out) {
    (void)computer;
    (void)out;
    return kErrorBadNetPath;
  }

  // Wide calls, for what removal backs up, deletes and puts back: names are UTF-16 exactly as
  // stored and data the stored bytes, nothing converted. The key a path names last opens as
  // itself even when it is a registry link (REG_OPTION_OPEN_LINK); links on the way are
  // followed. A registry without them answers kErrorCallNotImplemented.
  virtual long OpenKeyW(RegKey parent, const std::u16string& path, std::uint32_t access,
                        RegKey* out);
  // RegCreateKeyExW with full access.
  virtual long CreateKeyW(RegKey parent, const std::u16string& path, RegKey* out);
  // RegEnumKeyExW of the whole name.
  virtual long EnumKeyW(RegKey key, std::uint32_t index, std::u16string* name);
  // RegEnumValueW of the whole name and data.
  virtual long EnumValueW(RegKey key, std::uint32_t index, std::u16string* name,
                          std::uint32_t* type, std::vector<std::uint8_t>* data);
  // RegQueryValueExW of the whole data; name empty for the default value.
  virtual long QueryValueW(RegKey key, const std::u16string& name, std::uint32_t* type,
                           std::vector<std::uint8_t>* data);
  // RegSetValueExW.
  virtual long SetValueW(RegKey key, const std::u16string& name, std::uint32_t type,
                         const std::vector<std::uint8_t>& data);
  // Deletes the subkey name itself, a link as a link and never its target. A key that has
  // subkeys stays (kErrorAccessDenied).
  virtual long DeleteKeyW(RegKey parent, const std::u16string& name);
 private:
  RegistryView view_ = kBuildView;
};

// Puts the registry in a view for one scope, then back in the one it had.
class ViewSwitch {
 public:
  ViewSwitch(Registry& registry, RegistryView view) : registry_(registry), old_(registry.view()) {
    registry.set_view(view);
  }
  ~ViewSwitch() { registry_.set_view(old_); }
  ViewSwitch(const ViewSwitch&) = delete;
  ViewSwitch& operator=(const ViewSwitch&) = delete;

 private:
  Registry& registry_;
  RegistryView old_;
};

inline long Registry::OpenKeyW(RegKey, const std::u16string&, std::uint32_t, RegKey*) {
  return kErrorCallNotImplemented;
}
inline long Registry::CreateKeyW(RegKey, const std::u16string&, RegKey*) {
  return kErrorCallNotImplemented;
}
inline long Registry::EnumKeyW(RegKey, std::uint32_t, std::u16string*) {
  return kErrorCallNotImplemented;
}
inline long Registry::EnumValueW(RegKey, std::uint32_t, std::u16string*, std::uint32_t*,
                                 std::vector<std::uint8_t>*) {
  return kErrorCallNotImplemented;
}
inline long Registry::QueryValueW(RegKey, const std::u16string&, std::uint32_t*,
                                  std::vector<std::uint8_t>*) {
  return kErrorCallNotImplemented;
}
inline long Registry::SetValueW(RegKey, const std::u16string&, std::uint32_t,
                                const std::vector<std::uint8_t>&) {
  return kErrorCallNotImplemented;
}
inline long Registry::DeleteKeyW(RegKey, const std::u16string&) { return kErrorCallNotImplemented; }

// Closes a key when it goes out of scope.
class KeyCloser {
 public:
  KeyCloser(Registry& registry, RegKey key) : registry_(registry), key_(key) {}
  ~KeyCloser() {
    if (key_ != 0) registry_.CloseKey(key_);
  }
  KeyCloser(const KeyCloser&) = delete;
  KeyCloser& operator=(const KeyCloser&) = delete;

 private:
  Registry& registry_;
  RegKey key_;
};

}  // namespace corvane
