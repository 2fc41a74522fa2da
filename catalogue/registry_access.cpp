#include "catalogue/registry_access.h"

#include <vector>

#include "platform/text.h"

namespace corvane {

std::string JoinKeyPath(std::initializer_list<std::string> parts) {
  std::string path;
  for (const auto& part : parts) {
    if (part.empty()) return std::string();
    if (!path.empty()) path += '\\';
    path += part;
  }
  return path.size() < kKeyBufferSize ? path : std::string();
}

std::string ReadValueText(Registry& registry, RegKey key, const std::string& name,
                          std::size_t buffer_size) {
  std::vector<std::uint8_t> buffer(buffer_size, 0);
  auto size = static_cast<std::uint32_t>(buffer_size - 1);
  if (registry.QueryValue(key, name.empty() ? nullptr : name.c_str(), nullptr, buffer.data(),
                          &size) != kErrorSuccess)
    return std::string();
  // The last byte is never written, so the text always ends inside the buffer.
  return std::string(reinterpret_cast<const char*>(buffer.data()));
}

std::string ReadKeyValue(Registry& registry, RegKey root, const std::string& path,
                         const std::string& name, std::size_t buffer_size) {
  if (path.empty()) return std::string();
  RegKey key = 0;
  if (registry.OpenKey(root, path.c_str(), kKeyRead, &key) != kErrorSuccess) return std::string();
  KeyCloser closer(registry, key);
  return ReadValueText(registry, key, name, buffer_size);
}

std::string ReadValueReadably(Registry& registry, RegKey root, const std::string& path) {
  RegKey key = 0;
  if (path.empty() || registry.OpenKey(root, path.c_str(), kKeyRead, &key) != kErrorSuccess)
    return std::string();
  KeyCloser closer(registry, key);
  std::vector<std::uint8_t> data(kKeyBufferSize, 0);
  std::uint32_t type = 0;
  auto size = static_cast<std::uint32_t>(kKeyBufferSize - 1);
  if (registry.QueryValue(key, nullptr, &type, data.data(), &size) != kErrorSuccess)
    return std::string();
  if (type == kRegDword && size >= 4) {
    const std::uint32_t number = data[0] | data[1] << 8 | data[2] << 16 |
                                 static_cast<std::uint32_t>(data[3]) << 24;
    return std::to_string(number);
  }
  if (type == kRegBinary) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (std::uint32_t i = 0; i < size; ++i) {
      if (i > 0) text += ' ';
      text += kDigits[data[i] >> 4];
      text += kDigits[data[i] & 15];
    }
    return text;
  }
  // The last byte is never written, so the text always ends inside the buffer.
  return std::string(reinterpret_cast<const char*>(data.data()));
}

bool KeyOpens(Registry& registry, RegKey root, const std::string& path) {
  if (path.empty()) return false;
  RegKey key = 0;
  if (registry.OpenKey(root, path.c_str(), kKeyRead, &key) != kErrorSuccess) return false;
  registry.CloseKey(key);
  return true;
}

int HasControlKey(Registry& registry, RegKey clsid_key, const std::string& clsid) {
  return KeyOpens(registry, clsid_key, JoinKeyPath({clsid, "Control"})) ? 1 : 0;
}

int HasLocalServer32(Registry& registry, RegKey clsid_key, const std::string& clsid) {
  return KeyOpens(registry, clsid_key, JoinKeyPath({clsid, "LocalServer32"})) ? 1 : 0;
}

int HasProgID(Registry& registry, RegKey clsid_key, const std::string& clsid) {
  return KeyOpens(registry, clsid_key, JoinKeyPath({clsid, "ProgID"})) ? 1 : 0;
}

int IsDllInProcServer(Registry& registry, RegKey clsid_key, const std::string& clsid) {
  const std::string path = JoinKeyPath({clsid, "InProcServer32"});
  RegKey key = 0;
  if (path.empty() || registry.OpenKey(clsid_key, path.c_str(), kKeyRead, &key) != kErrorSuccess)
    return 0;
  const std::string value = ReadValueText(registry, key, "", kPathBufferSize);
  registry.CloseKey(key);
  if (value.size() > 3) return ToUpper(value.substr(value.size() - 3)) == "DLL" ? 1 : 0;
  return value == "DLL" ? 1 : 0;
}

std::string StripQuotes(const std::string& path) {
  std::string result = path;
  if (!result.empty() && result.front() == '"') result.erase(0, 1);
  if (!result.empty() && result.back() == '"') result.pop_back();
  return result;
}

ServerCommand SplitServerValue(const std::string& value) {
  ServerCommand command;
  const std::size_t closing = value.empty() || value[0] != '"' ? std::string::npos
                                                                : value.find('"', 1);
  if (closing == std::string::npos) {
    command.file = StripQuotes(value);
    return command;
  }
  command.file = value.substr(1, closing - 1);
  command.arguments = value.substr(closing + 1);
  command.quoted = true;
  return command;
}

}  // namespace corvane
