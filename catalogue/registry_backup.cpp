#include "catalogue/registry_backup.h"

#include <cstdio>

#include "platform/text.h"

namespace corvane {

const char16_t kRegFileHeader[] = u"Windows Registry Editor Version 5.00\r\n\r\n";
const char16_t kClassesRootName[] = u"HKEY_CLASSES_ROOT";

namespace {

// The registry editor opens each key by its whole path below the root; the system adds its
// own hive path (at most this long) in front, and a name past 32,767 characters fails.
constexpr std::size_t kHivePathRoom = 64;
constexpr std::size_t kLongestOpenablePath = 32767 - kHivePathRoom;

const char16_t kLinkValueName[] = u"SymbolicLinkValue";

void AppendAscii(const char* text, std::u16string* out) {
  while (*text) *out += static_cast<char16_t>(static_cast<unsigned char>(*text++));
}

void AppendHexBytes(const std::vector<std::uint8_t>& data, std::u16string* out) {
  static const char kDigits[] = "0123456789abcdef";
  out->reserve(out->size() + data.size() * 3);
  for (std::size_t i = 0; i < data.size(); ++i) {
    if (i != 0) *out += u',';
    *out += static_cast<char16_t>(kDigits[data[i] >> 4]);
    *out += static_cast<char16_t>(kDigits[data[i] & 15]);
  }
}

bool IsControl(char16_t c) { return c < 0x20 || c == 0x7F; }

// A text the quoted form carries unchanged: no control character, no surrogate half.
bool Quotable(const std::u16string& text) {
  for (char16_t c : text)
    if (IsControl(c) || (c >= 0xD800 && c <= 0xDFFF)) return false;
  return true;
}

void AppendQuoted(const std::u16string& text, std::u16string* out) {
  *out += u'"';
  for (char16_t c : text) {
    if (c == u'\\' || c == u'"') *out += u'\\';
    *out += c;
  }
  *out += u'"';
}

// A REG_SZ the quoted form restores byte for byte: whole characters, one terminator at the end.
bool QuotableString(const std::vector<std::uint8_t>& data, std::u16string* text) {
  if (data.size() < 2 || data.size() % 2 != 0) return false;
  *text = TextOfBytes(data);
  return (text->size() + 1) * 2 == data.size() && Quotable(*text);
}

bool IsLinkValue(const SavedValue& value) {
  return value.type == kRegLink && EqualsNoCase(value.name, std::u16string(kLinkValueName));
}

}  // namespace

ReadOutcome ReadSavedKey(Registry& registry, RegKey parent, const std::u16string& name,
                         const std::u16string& shown_path, SavedKey* out,
                         std::u16string* problem) {
  RegKey key = 0;
  const long opened = registry.OpenKeyW(parent, name, kKeyRead, &key);
  if (opened == kErrorFileNotFound) return ReadOutcome::kAbsent;
  *problem = shown_path;
  if (opened != kErrorSuccess) return ReadOutcome::kFailed;
  KeyCloser closer(registry, key);
  out->name = name;
  for (std::uint32_t index = 0;; ++index) {
    SavedValue value;
    const long rc = registry.EnumValueW(key, index, &value.name, &value.type, &value.data);
    if (rc == kErrorNoMoreItems) break;
    if (rc != kErrorSuccess) return ReadOutcome::kFailed;
    if (IsLinkValue(value)) return ReadOutcome::kLink;
    out->values.push_back(std::move(value));
  }
  for (std::uint32_t index = 0;; ++index) {
    std::u16string child_name;
    const long rc = registry.EnumKeyW(key, index, &child_name);
    if (rc == kErrorNoMoreItems) break;
    if (rc != kErrorSuccess) return ReadOutcome::kFailed;
    SavedKey child;
    const std::u16string child_path = shown_path + u"\\" + child_name;
    const ReadOutcome outcome = ReadSavedKey(registry, key, child_name, child_path, &child, problem);
    // A subkey that was just listed must open.
    if (outcome == ReadOutcome::kAbsent) {
      *problem = child_path;
      return ReadOutcome::kFailed;
    }
    if (outcome != ReadOutcome::kRead) return outcome;
    out->children.push_back(std::move(child));
  }
  return ReadOutcome::kRead;
}

std::string UnwritableReason(const SavedKey& key, const std::u16string& shown_path) {
  if (!Quotable(key.name))
    return "The registry key name \"" + Shown(shown_path) +
           "\" holds a line break or another control character.";
  const std::size_t root = std::char_traits<char16_t>::length(kClassesRootName) + 1;
  if (shown_path.size() > root + kLongestOpenablePath)
    return "The registry key " + Shown(shown_path.substr(0, 200)) + "... is nested too deeply (" +
           std::to_string(shown_path.size()) + " characters) for its backup to be imported.";
  for (const SavedValue& value : key.values) {
    if (!Quotable(value.name))
      return "The value name \"" + Shown(value.name) + "\" of the registry key " +
             Shown(shown_path) + " holds a line break or another control character.";
  }
  for (const SavedKey& child : key.children) {
    std::string reason = UnwritableReason(child, shown_path + u"\\" + child.name);
    if (!reason.empty()) return reason;
  }
  return std::string();
}

std::u16string FormatRegValue(const SavedValue& value) {
  std::u16string line;
  if (value.name.empty())
    line = u"@";
  else
    AppendQuoted(value.name, &line);
  line += u'=';
  std::u16string text;
  if (value.type == kRegSz && QuotableString(value.data, &text)) {
    AppendQuoted(text, &line);
  } else if (value.type == kRegDword && value.data.size() == 4) {
    char number[16];
    std::snprintf(number, sizeof number, "dword:%08lx",
                  static_cast<unsigned long>(value.data[0] | value.data[1] << 8 |
                                             value.data[2] << 16 |
                                             static_cast<std::uint32_t>(value.data[3]) << 24));
    AppendAscii(number, &line);
  } else {
    char prefix[24];
    if (value.type == kRegBinary)
      std::snprintf(prefix, sizeof prefix, "hex:");
    else
      std::snprintf(prefix, sizeof prefix, "hex(%lx):", static_cast<unsigned long>(value.type));
    AppendAscii(prefix, &line);
    AppendHexBytes(value.data, &line);
  }
  return line + u"\r\n";
}

void AppendSavedKey(const SavedKey& key, const std::u16string& shown_path, std::u16string* text) {
  *text += u"[" + shown_path + u"]\r\n";
  for (const SavedValue& value : key.values) *text += FormatRegValue(value);
  *text += u"\r\n";
  for (const SavedKey& child : key.children)
    AppendSavedKey(child, shown_path + u"\\" + child.name, text);
}

std::string EncodeRegFile(const std::u16string& text) {
  std::string bytes = "\xFF\xFE";
  bytes.reserve(2 + text.size() * 2);
  for (char16_t c : text) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  return bytes;
}

}  // namespace corvane
