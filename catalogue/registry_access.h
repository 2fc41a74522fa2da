// Reading class registrations: key paths, value reads, the probes the scans use, and the
// server path's quote rule.
#pragma once
#include <cstddef>
#include <string>

#include "platform/registry.h"

namespace corvane {

constexpr std::size_t kKeyBufferSize = 1024;   // key paths and values
constexpr std::size_t kPathBufferSize = 260;   // file paths

// Joins key path parts with backslashes. Empty when a part is empty or the result would not
// fit the 1024-byte buffer: an empty part or a cut path would name another key.
std::string JoinKeyPath(std::initializer_list<std::string> parts);

// The value of an open key read as a zero-terminated string into a zero-filled buffer of
// buffer_size bytes (buffer_size - 1 passed). The type is not examined; any failure reads as
// an empty string. name empty is the default value.
std::string ReadValueText(Registry& registry, RegKey key, const std::string& name,
                          std::size_t buffer_size = kKeyBufferSize);
// Opens path below root with KEY_READ and reads one value of it; empty when absent.
std::string ReadKeyValue(Registry& registry, RegKey root, const std::string& path,
                         const std::string& name = "",
                         std::size_t buffer_size = kKeyBufferSize);
// The default value of path below root for people to read: a REG_DWORD as its decimal
// number, REG_BINARY as hexadecimal bytes, anything else as a string; empty when absent.
std::string ReadValueReadably(Registry& registry, RegKey root, const std::string& path);
// Whether path opens below root with KEY_READ.
bool KeyOpens(Registry& registry, RegKey root, const std::string& path);

// Probes relative to the open CLSID key, for one enumerated CLSID: 1 when the subkey opens.
int HasControlKey(Registry& registry, RegKey clsid_key, const std::string& clsid);
int HasLocalServer32(Registry& registry, RegKey clsid_key, const std::string& clsid);
int HasProgID(Registry& registry, RegKey clsid_key, const std::string& clsid);
// 1 when the InProcServer32 value names a DLL: its last three characters, upper-cased, are
// "DLL"; a value of three characters or less must be exactly "DLL".
int IsDllInProcServer(Registry& registry, RegKey clsid_key, const std::string& clsid);

// Drops one leading and, independently, one trailing double quote.
std::string StripQuotes(const std::string& path);

// A server value split into its file and the arguments that follow it.
struct ServerCommand {
  std::string file;
  std::string arguments;  // as written after the closing quote, leading blanks included
  bool quoted = false;    // the file was written in double quotes
};
// A value that opens with a double quote names the file up to the next one; what follows
// is arguments. Any other value (no closing quote either) is StripQuotes of the whole.
ServerCommand SplitServerValue(const std::string& value);

}  // namespace corvane
