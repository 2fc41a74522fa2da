// Registry keys written out in the registry editor's import format (REGEDIT4), so that
// "regedit /s FILE" puts them back exactly as they were.
#pragma once
#include <string>

#include "platform/platform.h"

namespace corvane {

// The first lines of every backup file.
extern const char kRegEditHeader[];

// A registry text string: backslash and double quote escaped, in double quotes.
std::string QuoteRegText(const std::string& text);
// One value line, "name"=data or @=data for the default value, with its line break. Strings
// that the quoted form can't carry unchanged (a line break, an embedded or missing
// terminator) are written as hex bytes of their type instead.
std::string FormatRegValue(const std::string& name, std::uint32_t type, const std::string& data);

// Appends subkey below root, its values and every key below it (parents first) to text,
// headed by shown_root ("HKEY_CLASSES_ROOT"). False, with the path of the key that could not
// be read completely in *failed_key, when a key, a subkey name or a value can't be read; a key
// that does not exist adds nothing and is no failure.
bool AppendKeyTree(Registry& registry, RegKey root, const std::string& shown_root,
                   const std::string& subkey, std::string* text, std::string* failed_key);

}  // namespace corvane
