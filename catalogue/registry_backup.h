// Registry keys read whole through the wide calls and written in the registry editor's
// Unicode import format ("Windows Registry Editor Version 5.00", UTF-16LE with its byte-order
// mark), so that "regedit /s FILE" or Corvane's own restore puts back every name and byte.
#pragma once
#include <string>
#include <vector>

#include "platform/registry.h"

namespace corvane {

struct SavedValue {
  std::u16string name;  // empty for the default value
  std::uint32_t type = 0;
  std::vector<std::uint8_t> data;
};

// One key as it was read, with everything below it in enumeration order.
struct SavedKey {
  std::u16string name;
  std::vector<SavedValue> values;
  std::vector<SavedKey> children;
};

// The file's first two lines.
extern const char16_t kRegFileHeader[];
// The root every backup's paths start with.
extern const char16_t kClassesRootName[];

enum class ReadOutcome { kRead, kAbsent, kFailed, kLink };

// Reads name below parent, opening each key as itself (a link is never followed). kAbsent
// when the key is not there; kFailed, with the key's path in *problem, when a key, subkey
// name or value can't be read; kLink, with the link's path in *problem, when the key or one
// below it is a registry link. shown_path is the key's path as the file writes it.
ReadOutcome ReadSavedKey(Registry& registry, RegKey parent, const std::u16string& name,
                         const std::u16string& shown_path, SavedKey* out,
                         std::u16string* problem);

// Empty when the import gives back the tree at shown_path exactly; otherwise why not, for a
// message: a key or value name with a line break or other control character, or a path too
// long for the registry editor to open.
std::string UnwritableReason(const SavedKey& key, const std::u16string& shown_path);

// The lines of one value, and of a key with all below it (parents first).
std::u16string FormatRegValue(const SavedValue& value);
void AppendSavedKey(const SavedKey& key, const std::u16string& shown_path, std::u16string* text);
// The text as the file's bytes: the byte-order mark, then UTF-16LE.
std::string EncodeRegFile(const std::u16string& text);

}  // namespace corvane
