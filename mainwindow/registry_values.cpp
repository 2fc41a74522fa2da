#include "mainwindow/registry_values.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "catalogue/registry_access.h"

namespace corvane {

bool IsStringType(std::uint32_t type) {
  return type == kRegSz || type == kRegExpandSz || type == kRegMultiSz;
}

std::string FormatValueData(std::uint32_t type, const std::uint8_t* data, std::uint32_t size) {
  if (IsStringType(type)) {
    const void* end = std::memchr(data, 0, size);
    return std::string(reinterpret_cast<const char*>(data),
                       end ? static_cast<const std::uint8_t*>(end) - data : size);
  }
  if (type == kRegBinary) {
    std::string text;
    char byte[4];
    for (std::uint32_t i = 0; i < size; ++i) {
      std::snprintf(byte, sizeof byte, "%X ", data[i]);
      text += byte;
    }
    return text;
  }
  if (type == kRegDword) {
    // Missing bytes of a short value read as zero.
    std::uint32_t value = 0;
    for (std::uint32_t i = 0; i < 4 && i < size; ++i) value |= std::uint32_t{data[i]} << (8 * i);
    char text[32];
    std::snprintf(text, sizeof text, "%X (%ld)", static_cast<unsigned>(value),
                  static_cast<long>(static_cast<std::int32_t>(value)));
    return text;
  }
  return "Data type not supported";
}

namespace {

std::string TooLargeText(std::uint32_t size) {
  return "(too large to show: " + std::to_string(size) + " bytes)";
}

}  // namespace

std::vector<ListedValue> ReadKeyValues(Registry& registry, const std::string& key_path) {
  std::vector<ListedValue> values;
  RegKey key = 0;
  if (key_path.empty() ||
      registry.OpenKey(kClassesRoot, key_path.c_str(), kKeyRead, &key) != kErrorSuccess)
    return values;
  KeyCloser closer(registry, key);
  char name[kKeyBufferSize] = {};
  std::uint8_t data[kKeyBufferSize] = {};
  for (std::uint32_t index = 0;; ++index) {
    std::uint32_t name_size = kKeyBufferSize - 1, data_size = kKeyBufferSize - 1, type = 0;
    long rc = registry.EnumValue(key, index, name, &name_size, &type, data, &data_size);
    bool too_large = false;
    if (rc == kErrorMoreData) {
      // Too large for the buffer: the name, type and size alone, and the listing goes on.
      name_size = kKeyBufferSize - 1;
      rc = registry.EnumValue(key, index, name, &name_size, &type, nullptr, &data_size);
      if (rc == kErrorMoreData) continue;  // a name longer than any buffer offered
      too_large = true;
    }
    if (rc != kErrorSuccess) break;
    ListedValue value;
    value.name.assign(name, name_size);
    value.type = type;
    value.shown_name = value.name.empty() ? "(Default)" : value.name;
    value.too_large = too_large;
    value.data_text = too_large ? TooLargeText(data_size) : FormatValueData(type, data, data_size);
    value.image = IsStringType(type) ? 2 : 3;
    values.push_back(value);
  }
  return values;
}

std::string TooLargeMessage(const std::string& shown_name) {
  return shown_name + " is too large to be shown or edited by Corvane.";
}

std::string NotAStringMessage(const std::string& shown_name) {
  return "Only string values can be edited by Corvane (REG_SZ, REG_MULTI_SZ, REG_EXPAND_SZ).\n\n" +
         shown_name + " is not a string.";
}

namespace {

std::string NotChanged(const ListedValue& value, const char* reason) {
  return value.shown_name + " was not changed: " + reason +
         "\n\nThe list shows what the registry holds now.";
}

// The strings after the first of a REG_MULTI_SZ value as stored; false when it can't be read.
// A value that is gone has none.
bool ReadOtherStrings(Registry& registry, RegKey key, const char* name,
                      std::vector<std::uint8_t>* rest) {
  std::uint32_t size = 0;
  const long rc = registry.QueryValue(key, name, nullptr, nullptr, &size);
  if (rc == kErrorFileNotFound) return true;
  if (rc != kErrorSuccess) return false;
  std::vector<std::uint8_t> old(size);
  if (size > 0 && registry.QueryValue(key, name, nullptr, old.data(), &size) != kErrorSuccess)
    return false;
  old.resize(size);
  const auto first_end = std::find(old.begin(), old.end(), std::uint8_t{0});
  if (first_end != old.end()) rest->assign(first_end + 1, old.end());
  return true;
}

}  // namespace

bool WriteEditedValue(Registry& registry, const std::string& key_path, const ListedValue& value,
                      const std::string& text, std::string* failure) {
  RegKey key = 0;
  if (key_path.empty() ||
      registry.OpenKey(kClassesRoot, key_path.c_str(), kKeyAllAccess, &key) != kErrorSuccess) {
    *failure = NotChanged(value, "its key can't be opened for writing.");
    return false;
  }
  KeyCloser closer(registry, key);
  const char* name = value.name.empty() ? nullptr : value.name.c_str();
  std::vector<std::uint8_t> bytes(text.begin(), text.end());
  bytes.push_back(0);
  if (value.type == kRegMultiSz) {
    std::vector<std::uint8_t> rest;
    if (!ReadOtherStrings(registry, key, name, &rest)) {
      *failure = NotChanged(value, "its other strings could not be read.");
      return false;
    }
    bytes.insert(bytes.end(), rest.begin(), rest.end());
    while (bytes.size() < 2 || bytes[bytes.size() - 1] != 0 || bytes[bytes.size() - 2] != 0)
      bytes.push_back(0);
  }
  if (registry.SetValue(key, name, value.type, bytes.data(),
                        static_cast<std::uint32_t>(bytes.size())) != kErrorSuccess) {
    *failure = NotChanged(value, "the registry refused the new data.");
    return false;
  }
  return true;
}

}  // namespace corvane
