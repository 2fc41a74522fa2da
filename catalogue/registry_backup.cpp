#include "catalogue/registry_backup.h"

#include <cstdio>
#include <vector>

#include "catalogue/registry_access.h"

namespace corvane {

const char kRegEditHeader[] = "REGEDIT4\r\n\r\n";

namespace {

constexpr std::uint32_t kMaxValueName = 16384;       // the registry's own limit, terminator included
constexpr std::uint32_t kMaxValueData = 64u << 20;   // beyond this a value is not backed up

std::string HexBytes(const std::string& data) {
  std::string out;
  out.reserve(data.size() * 3);
  char byte[4];
  for (std::size_t i = 0; i < data.size(); ++i) {
    std::snprintf(byte, sizeof byte, i == 0 ? "%02x" : ",%02x",
                  static_cast<unsigned>(static_cast<unsigned char>(data[i])));
    out += byte;
  }
  return out;
}

// A REG_SZ the quoted form restores unchanged: one terminator at the end, none before it, no
// line break (which would end the line in the file).
bool QuotableString(const std::string& data) {
  if (data.empty() || data.back() != '\0') return false;
  for (std::size_t i = 0; i + 1 < data.size(); ++i) {
    if (data[i] == '\0' || data[i] == '\r' || data[i] == '\n') return false;
  }
  return true;
}

}  // namespace

std::string QuoteRegText(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return out + "\"";
}

std::string FormatRegValue(const std::string& name, std::uint32_t type, const std::string& data) {
  std::string line = name.empty() ? "@" : QuoteRegText(name);
  line += '=';
  if (type == kRegSz && QuotableString(data)) {
    line += QuoteRegText(data.substr(0, data.size() - 1));
  } else if (type == kRegDword && data.size() == 4) {
    const auto byte = [&](int i) { return static_cast<std::uint32_t>(static_cast<unsigned char>(data[i])); };
    char number[16];
    std::snprintf(number, sizeof number, "dword:%08lx",
                  static_cast<unsigned long>(byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24));
    line += number;
  } else if (type == kRegBinary) {
    line += "hex:" + HexBytes(data);
  } else {
    char prefix[24];
    std::snprintf(prefix, sizeof prefix, "hex(%lx):", static_cast<unsigned long>(type));
    line += prefix + HexBytes(data);
  }
  return line + "\r\n";
}

namespace {

bool AppendValues(Registry& registry, RegKey key, std::string* text) {
  std::vector<char> name(kMaxValueName);
  std::vector<std::uint8_t> data(4096);
  for (std::uint32_t index = 0;; ++index) {
    for (;;) {
      std::uint32_t name_size = kMaxValueName;
      std::uint32_t data_size = static_cast<std::uint32_t>(data.size());
      std::uint32_t type = 0;
      const long rc = registry.EnumValue(key, index, name.data(), &name_size, &type, data.data(),
                                         &data_size);
      if (rc == kErrorNoMoreItems) return true;
      if (rc == kErrorMoreData && data.size() < kMaxValueData) {
        // The needed size when the call told it; otherwise twice the room.
        std::size_t grown = data_size > data.size() ? data_size : data.size() * 2;
        data.resize(grown < kMaxValueData ? grown : kMaxValueData);
        continue;
      }
      if (rc != kErrorSuccess || name_size >= kMaxValueName || data_size > data.size())
        return false;
      *text += FormatRegValue(std::string(name.data(), name_size), type,
                              std::string(data.begin(), data.begin() + data_size));
      break;
    }
  }
}

bool AppendTree(Registry& registry, RegKey parent, const std::string& subkey,
                const std::string& shown_path, bool top, std::string* text,
                std::string* failed_key) {
  RegKey key = 0;
  const long opened = registry.OpenKey(parent, subkey.c_str(), kKeyRead, &key);
  if (opened != kErrorSuccess) {
    // Only the key asked for may be absent; a subkey that was just listed must open.
    if (top && opened == kErrorFileNotFound) return true;
    *failed_key = shown_path;
    return false;
  }
  KeyCloser closer(registry, key);
  *text += "[" + shown_path + "]\r\n";
  if (!AppendValues(registry, key, text)) {
    *failed_key = shown_path;
    return false;
  }
  *text += "\r\n";
  for (std::uint32_t index = 0;; ++index) {
    char name[kKeyBufferSize] = {};
    std::uint32_t size = kKeyBufferSize;
    const long rc = registry.EnumKey(key, index, name, &size);
    if (rc == kErrorNoMoreItems) return true;
    if (rc != kErrorSuccess) {
      *failed_key = shown_path;
      return false;
    }
    const std::string child(name, size);
    if (!AppendTree(registry, key, child, shown_path + "\\" + child, false, text, failed_key))
      return false;
  }
}

}  // namespace

bool AppendKeyTree(Registry& registry, RegKey root, const std::string& shown_root,
                   const std::string& subkey, std::string* text, std::string* failed_key) {
  if (subkey.empty()) return true;
  return AppendTree(registry, root, subkey, shown_root + "\\" + subkey, true, text, failed_key);
}

}  // namespace corvane
