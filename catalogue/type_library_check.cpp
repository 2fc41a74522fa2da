#include "catalogue/type_library_check.h"

#include <cctype>
#include <cstdlib>
#include <vector>

#include "catalogue/registry_access.h"

namespace corvane {

namespace {

// A version key's "major.minor", both hexadecimal; -1 when it is not one.
long VersionNumber(const std::string& name) {
  const std::size_t dot = name.find('.');
  if (dot == std::string::npos || dot == 0 || dot + 1 >= name.size()) return -1;
  char* end = nullptr;
  const unsigned long major = std::strtoul(name.c_str(), &end, 16);
  if (end != name.c_str() + dot || major > 0xFFFF) return -1;
  const unsigned long minor = std::strtoul(name.c_str() + dot + 1, &end, 16);
  if (*end != '\0' || minor > 0xFFFF) return -1;
  return static_cast<long>(major << 16 | minor);
}

bool IsHexNumber(const std::string& name) {
  if (name.empty() || name.size() > 8) return false;
  for (char c : name)
    if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
  return true;
}

std::vector<std::string> SubkeyNames(Registry& registry, RegKey key) {
  std::vector<std::string> names;
  char name[kKeyBufferSize];
  for (std::uint32_t index = 0;; ++index) {
    std::uint32_t size = sizeof name;
    const long result = registry.EnumKey(key, index, name, &size);
    if (result == kErrorMoreData) continue;
    if (result != kErrorSuccess) break;
    names.emplace_back(name, size);
  }
  return names;
}

// The file value of version\lcid\platform: LCID 0 first, else the first LCID registered;
// the 64-bit view falls back to the 32-bit file, as the system's loader does.
std::string RegisteredFile(Registry& registry, RegKey version_key) {
  std::vector<std::string> lcids{"0"};
  for (const std::string& name : SubkeyNames(registry, version_key))
    if (name != "0" && IsHexNumber(name)) lcids.push_back(name);
  std::vector<const char*> platforms{"win32"};
  if (registry.view() == RegistryView::k64) platforms.insert(platforms.begin(), "win64");
  for (const std::string& lcid : lcids) {
    for (const char* platform : platforms) {
      const std::string file = ReadKeyValue(registry, version_key, JoinKeyPath({lcid, platform}));
      if (!file.empty()) return file;
    }
  }
  return std::string();
}

// The file part of a value that may name a resource: "C:\x\server.dll\3".
std::string FilePart(const std::string& file) {
  const std::size_t slash = file.find_last_of('\\');
  if (slash == std::string::npos || slash + 1 == file.size()) return file;
  for (std::size_t i = slash + 1; i < file.size(); ++i)
    if (!std::isdigit(static_cast<unsigned char>(file[i]))) return file;
  return file.substr(0, slash);
}

std::string Expanded(Files& files, const std::string& text) {
  if (text.find('%') == std::string::npos) return text;
  char out[kPathBufferSize * 4];
  const std::uint32_t needed = files.ExpandEnvironment(text.c_str(), out, sizeof out);
  return needed > 0 && needed <= sizeof out ? std::string(out) : text;
}

}  // namespace

TypeLibCheck CheckTypeLibrary(const Platform& platform, const std::string& type_lib,
                              const std::string& class_version, bool read_all) {
  TypeLibCheck check;
  check.guid = type_lib;
  if (type_lib.empty()) return check;
  Registry& registry = platform.registry;
  RegKey lib_key = 0;
  const std::string path = JoinKeyPath({"TypeLib", type_lib});
  if (path.empty() || registry.OpenKey(kClassesRoot, path.c_str(), kKeyRead, &lib_key) != kErrorSuccess) {
    check.state = TypeLibState::kNotRegistered;
    return check;
  }
  KeyCloser close_lib(registry, lib_key);
  long best = -1;
  for (const std::string& name : SubkeyNames(registry, lib_key)) {
    const long number = VersionNumber(name);
    if (number < 0) continue;
    if (name == class_version) {
      check.version = name;
      break;
    }
    if (number > best) {
      best = number;
      check.version = name;
    }
  }
  RegKey version_key = 0;
  if (check.version.empty() ||
      registry.OpenKey(lib_key, check.version.c_str(), kKeyRead, &version_key) != kErrorSuccess) {
    check.state = TypeLibState::kNoVersion;
    return check;
  }
  KeyCloser close_version(registry, version_key);
  check.file = Expanded(platform.files, RegisteredFile(registry, version_key));
  if (registry.view() == RegistryView::k64) check.platforms = "win64 or win32";
  if (check.file.empty()) {
    check.state = TypeLibState::kNoFile;
    return check;
  }
  FoundFile found;
  if (!platform.files.FindFile(FilePart(check.file).c_str(), &found) || found.is_directory) {
    check.state = TypeLibState::kFileMissing;
    return check;
  }
  check.state = TypeLibState::kOk;
  if (platform.type_libraries == nullptr) return check;
  check.result = platform.type_libraries->LoadFile(check.file, read_all ? &check.library : nullptr);
  if (IsFailedResult(check.result)) {
    check.state = TypeLibState::kDoesNotLoad;
    check.detail = platform.type_libraries->DescribeResult(check.result);
  } else if (read_all) {
    check.detail = FindDamage(check.library);
    if (!check.detail.empty()) check.state = TypeLibState::kDamaged;
  }
  return check;
}

const char* TypeLibStatusText(TypeLibState state) {
  switch (state) {
    case TypeLibState::kNotDefined: return "Not Defined";
    case TypeLibState::kOk: return "OK";
    case TypeLibState::kNotRegistered: return "Not Registered";
    case TypeLibState::kNoVersion: return "No Version Registered";
    case TypeLibState::kNoFile: return "No File Registered";
    case TypeLibState::kFileMissing: return "File Missing";
    case TypeLibState::kDoesNotLoad: return "Does Not Load";
    default: return "Damaged";
  }
}

std::string TypeLibSentence(const TypeLibCheck& check) {
  const std::string key = "HKEY_CLASSES_ROOT\\TypeLib\\" + check.guid;
  switch (check.state) {
    case TypeLibState::kNotDefined:
      return "This class names no type library.";
    case TypeLibState::kOk:
      return "The type library " + check.guid + " version " + check.version +
             " is registered and loads from " + check.file + ".";
    case TypeLibState::kNotRegistered:
      return "The type library " + check.guid + " that this class names is not registered: " + key +
             " does not exist.";
    case TypeLibState::kNoVersion:
      return "The type library " + check.guid + " is registered without a version: " + key +
             " has no version key.";
    case TypeLibState::kNoFile:
      return "Version " + check.version + " of the type library " + check.guid +
             " names no file: " + key + "\\" + check.version + "\\0 has no " +
             check.platforms + " value.";
    case TypeLibState::kFileMissing:
      return "The file of the type library " + check.guid + ", " + check.file + ", does not exist.";
    case TypeLibState::kDoesNotLoad:
      return "The type library file " + check.file + " does not load: " + check.detail;
    default:
      return "The type library file " + check.file + " is damaged: " + check.detail;
  }
}

}  // namespace corvane
