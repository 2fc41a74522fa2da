// The values of a class key as the Registry Entries page lists them, and the write-back of
// an edited string value. Portable: the page draws the rows, this decides what they say.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace corvane {

struct ListedValue {
  std::string name;          // as stored; empty for the key's default value
  std::uint32_t type = 0;
  std::string shown_name;    // "(Default)" for the default value
  std::string data_text;     // the "Data" column
  int image = 3;             // 2 for string values, 3 for the rest
  bool too_large = false;    // larger than the read buffer: data_text only says so
};

// True for REG_SZ, REG_EXPAND_SZ and REG_MULTI_SZ: the types that can be edited.
bool IsStringType(std::uint32_t type);
// The "Data" column of a value of that type.
std::string FormatValueData(std::uint32_t type, const std::uint8_t* data, std::uint32_t size);
// The values of the key below HKEY_CLASSES_ROOT, in enumeration order. A value larger than
// 1023 bytes is listed with its name, type and a text that gives its size; the listing ends
// at the first value that can't be enumerated at all.
std::vector<ListedValue> ReadKeyValues(Registry& registry, const std::string& key_path);
// The message when a value too large to show is to be edited.
std::string TooLargeMessage(const std::string& shown_name);
// The message for a value that is not a string.
std::string NotAStringMessage(const std::string& shown_name);
// Writes the edited text of a string value back to the key, under the value's own name (so
// a value named "(Default)" and the default value stay apart). A REG_MULTI_SZ value has only
// its first string replaced, keeps the others and always ends with two NULs; when they can't
// be read, nothing is written. False, with the message for the user in *failure, when the
// value was not written.
bool WriteEditedValue(Registry& registry, const std::string& key_path, const ListedValue& value,
                      const std::string& text, std::string* failure);

}  // namespace corvane
