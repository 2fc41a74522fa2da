#include "catalogue/class_removal.h"

#include <cstdio>
#include <ctime>

#include "catalogue/delete_registry_key.h"
#include "catalogue/registry_access.h"
#include "catalogue/registry_backup.h"
#include "platform/text.h"

namespace corvane {

const char kRemovalLogHeader[] = "------------------------------------------\n";

namespace {

// Keys below HKEY_CLASSES_ROOT that hold what every class shares.
const char* const kSharedKeys[] = {
    "CLSID",         "TypeLib",       "Interface",   "AppID",     "Component Categories",
    "*",             "Folder",        "Directory",   "Drive",     "AllFilesystemObjects",
    "Unknown",       "MIME",          "Protocols",   "FileType",  "SystemFileAssociations",
    "Applications",  "Installer",     "Licenses",    "Record",    "Media Type",
    "MediaFoundation", "DirectShow",  "Network",     "Printers",  "ShellEx",
    "exefile",       "dllfile",       "ocxfile",     "Wow6432Node"};

std::string Trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// A file name part from registry text: only characters every file system takes.
std::string SafeFileNamePart(const std::string& text) {
  std::string out;
  for (char c : text) {
    const bool plain = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                       c == '{' || c == '}' || c == '-' || c == '_';
    out += plain ? c : '_';
  }
  return out.substr(0, 80);
}

std::string LocalStamp(Files& files) {
  // Seconds since 1970 as FILETIME ticks since 1601.
  const std::uint64_t ticks =
      (static_cast<std::uint64_t>(std::time(nullptr)) + 11644473600ull) * 10000000ull;
  std::tm local{};
  if (!files.ToLocalTime(ticks, &local)) return "00000000-000000";
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%04d%02d%02d-%02d%02d%02d", local.tm_year + 1900,
                local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
  return stamp;
}

// Makes the backup folder, level by level; empty when it can't be made.
std::string MakeBackupFolder(Files& files) {
  std::string folder = files.AppDataFolder();
  if (folder.empty()) return std::string();
  if (folder.back() == '\\') folder.pop_back();
  for (const char* level : {"Tessaline", "Corvane", "Backup"}) {
    folder += std::string("\\") + level;
    if (!files.CreateFolder(folder.c_str())) return std::string();
  }
  return folder;
}

bool WriteNewBackupFile(Files& files, const std::string& stem, const std::string& text,
                        std::string* path) {
  for (int attempt = 1; attempt <= 20; ++attempt) {
    *path = stem + (attempt == 1 ? "" : " (" + std::to_string(attempt) + ")") + ".reg";
    FoundFile found;
    if (files.FindFile(path->c_str(), &found)) continue;  // never overwrite an earlier backup
    return files.WriteNewFile(path->c_str(), text);
  }
  return false;
}

}  // namespace

bool IsOwnKeyName(const std::string& name) {
  const std::string trimmed = Trimmed(name);
  if (trimmed.empty() || trimmed[0] == '.' || name.find('\\') != std::string::npos) return false;
  for (const char* shared : kSharedKeys) {
    if (EqualsNoCase(trimmed, shared)) return false;
  }
  return true;
}

std::string ClassKeyPath(const ClassKey& key) {
  return key.parent.empty() ? key.name : key.parent + "\\" + key.name;
}

std::string ShownClassesRoot(Registry& registry, const std::string& path) {
  const std::string root = "HKEY_CLASSES_ROOT";
  if (!registry.HasTwoViews() || registry.view() != RegistryView::k32) return root;
  ViewSwitch to64(registry, RegistryView::k64);
  return KeyOpens(registry, kClassesRoot, "Wow6432Node\\" + path) ? root + "\\Wow6432Node" : root;
}

std::string WriteRemovalBackup(const Platform& platform, const std::string& clsid,
                               const std::string& name, const std::vector<ClassKey>& keys) {
  const std::string nothing_removed = "\n\nNothing was removed from the Registry for " + name + ".";
  std::string text = kRegEditHeader;
  for (const ClassKey& key : keys) {
    std::string failed;
    const std::string path = ClassKeyPath(key);
    if (!AppendKeyTree(platform.registry, kClassesRoot, ShownClassesRoot(platform.registry, path), path,
                       &text, &failed)) {
      platform.notice.ShowMessageBox("The registry key " + failed +
                                     " could not be read to back it up." + nothing_removed);
      return std::string();
    }
  }
  const std::string folder = MakeBackupFolder(platform.files);
  std::string path;
  if (folder.empty() ||
      !WriteNewBackupFile(platform.files,
                          folder + "\\" + LocalStamp(platform.files) + " " + SafeFileNamePart(clsid),
                          text, &path)) {
    const std::string app_data = platform.files.AppDataFolder();
    const std::string where = !path.empty()     ? path
                              : app_data.empty() ? std::string("the backup folder")
                                                 : app_data + "\\Tessaline\\Corvane\\Backup";
    platform.notice.ShowMessageBox("The backup of the registry keys could not be written to " +
                                   where + "." + nothing_removed);
    return std::string();
  }
  return path;
}

void DeleteClassKey(const Platform& platform, const ClassKey& key, std::string& log) {
  Registry& registry = platform.registry;
  const std::string path = ClassKeyPath(key);
  if (!KeyOpens(registry, kClassesRoot, path)) return;
  if (key.parent.empty()) {
    DeleteRegistryKey(platform, kClassesRoot, key.name);
  } else {
    RegKey parent = 0;
    if (registry.OpenKey(kClassesRoot, key.parent.c_str(), kKeyAllAccess, &parent) != kErrorSuccess)
      return;
    KeyCloser closer(registry, parent);
    DeleteRegistryKey(platform, parent, key.name);
  }
  if (!KeyOpens(registry, kClassesRoot, path)) log += key.label + ": " + key.name + "\n";
}

}  // namespace corvane
