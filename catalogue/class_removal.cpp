#include "catalogue/class_removal.h"

#include <cstdio>
#include <ctime>

#include "catalogue/registry_access.h"
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

// Writes a new file, never over an earlier backup. The write is tried first: in a folder of
// thousands of backups every lookup of a name that is not there reads the whole folder.
bool WriteNewBackupFile(Files& files, const std::string& stem, const std::string& text,
                        std::string* path) {
  for (int attempt = 1; attempt <= 20; ++attempt) {
    *path = stem + (attempt == 1 ? "" : " (" + std::to_string(attempt) + ")") + ".reg";
    if (files.WriteNewFile(path->c_str(), text)) return true;
    FoundFile found;
    if (!files.FindFile(path->c_str(), &found)) return false;
  }
  return false;
}

}  // namespace

std::string BackupFolderPath(Files& files) {
  std::string folder = files.AppDataFolder();
  if (folder.empty()) return std::string();
  if (folder.back() == '\\') folder.pop_back();
  return folder + "\\Tessaline\\Corvane\\Backup";
}

bool IsOwnKeyName(const std::string& name) {
  const std::string trimmed = Trimmed(name);
  if (trimmed.empty() || trimmed[0] == '.' || name.find('\\') != std::string::npos) return false;
  for (const char* shared : kSharedKeys) {
    if (EqualsNoCase(trimmed, shared)) return false;
  }
  return true;
}

bool IsOwnKeyName(const std::u16string& name) { return IsOwnKeyName(Shown(name)); }

std::u16string ClassKeyPath(const ClassKey& key) {
  return key.parent.empty() ? key.name : key.parent + u"\\" + key.name;
}

std::u16string ReadWideText(Registry& registry, RegKey root, const std::u16string& path,
                            const std::u16string& name) {
  RegKey key = 0;
  if (registry.OpenKeyW(root, path, kKeyRead, &key) != kErrorSuccess) return std::u16string();
  KeyCloser closer(registry, key);
  std::uint32_t type = 0;
  std::vector<std::uint8_t> data;
  if (registry.QueryValueW(key, name, &type, &data) != kErrorSuccess ||
      (type != kRegSz && type != kRegExpandSz))
    return std::u16string();
  return TextOfBytes(data);
}

std::string ShownClassesRoot(Registry& registry, const std::string& path) {
  const std::string root = "HKEY_CLASSES_ROOT";
  if (!registry.HasTwoViews() || registry.view() != RegistryView::k32) return root;
  ViewSwitch to64(registry, RegistryView::k64);
  return KeyOpens(registry, kClassesRoot, "Wow6432Node\\" + path) ? root + "\\Wow6432Node" : root;
}

std::string WriteRemovalBackup(const Platform& platform, const std::string& clsid,
                               const std::string& name, const std::vector<ClassKey>& keys,
                               std::vector<SavedKey>* trees) {
  const std::string nothing_removed = "\n\nNothing was removed from the Registry for " + name + ".";
  std::u16string text = kRegFileHeader;
  trees->assign(keys.size(), SavedKey());
  for (std::size_t i = 0; i < keys.size(); ++i) {
    // The system's registry editor reaches the 32-bit view's own keys through Wow6432Node.
    const std::u16string shown =
        Widen(ShownClassesRoot(platform.registry, Shown(ClassKeyPath(keys[i])))) + u"\\" +
        ClassKeyPath(keys[i]);
    std::u16string problem;
    const ReadOutcome outcome = ReadSavedKey(platform.registry, kClassesRoot,
                                             ClassKeyPath(keys[i]), shown, &(*trees)[i], &problem);
    if (outcome == ReadOutcome::kAbsent) continue;
    (*trees)[i].name = keys[i].name;  // read by its path, deleted by its name below the parent
    std::string reason;
    if (outcome == ReadOutcome::kFailed)
      reason = "The registry key " + Shown(problem) + " could not be read to back it up.";
    else if (outcome == ReadOutcome::kLink)
      reason = "The registry key " + Shown(problem) +
               " is a registry link, which a backup can't hold; it and its target were left alone.";
    else
      reason = UnwritableReason((*trees)[i], shown);
    if (!reason.empty()) {
      platform.notice.ShowMessageBox(reason + nothing_removed);
      return std::string();
    }
    AppendSavedKey((*trees)[i], shown, &text);
  }
  // The folder is made only when the file can't be written into it as it is.
  const std::string bytes = EncodeRegFile(text);
  const std::string file_name = "\\" + LocalStamp(platform.files) + " " + SafeFileNamePart(clsid);
  const std::string existing = BackupFolderPath(platform.files);
  std::string path;
  bool written = !existing.empty() && WriteNewBackupFile(platform.files, existing + file_name, bytes, &path);
  if (!written) {
    path.clear();
    const std::string folder = MakeBackupFolder(platform.files);
    written = !folder.empty() && WriteNewBackupFile(platform.files, folder + file_name, bytes, &path);
  }
  if (!written) {
    const std::string backup_folder = BackupFolderPath(platform.files);
    const std::string where = !path.empty()          ? path
                              : backup_folder.empty() ? std::string("the backup folder")
                                                      : backup_folder;
    platform.notice.ShowMessageBox("The backup of the registry keys could not be written to " +
                                   where + "." + nothing_removed);
    return std::string();
  }
  return path;
}

namespace {

const char kDeleteFailed[] = "Failed while trying to delete registry key ";

// Deletes the subkeys of tree below the open parent, last first, then the key itself.
bool DeleteSavedTree(const Platform& platform, RegKey parent, const SavedKey& tree,
                     const std::u16string& shown_path) {
  Registry& registry = platform.registry;
  RegKey key = 0;
  const long opened = registry.OpenKeyW(parent, tree.name, kKeyAllAccess, &key);
  if (opened == kErrorFileNotFound) return true;
  bool done = opened == kErrorSuccess;
  if (done) {
    KeyCloser closer(registry, key);
    for (auto child = tree.children.rbegin(); done && child != tree.children.rend(); ++child)
      done = DeleteSavedTree(platform, key, *child, shown_path + u"\\" + child->name);
    if (!done) return false;  // the child told the user already
  }
  const long rc = done ? registry.DeleteKeyW(parent, tree.name) : opened;
  if (rc == kErrorSuccess || rc == kErrorFileNotFound) return true;
  platform.notice.ShowMessageBox(kDeleteFailed + Shown(shown_path));
  return false;
}

}  // namespace

bool DeleteClassKey(const Platform& platform, const ClassKey& key, const SavedKey& tree,
                    std::string& log) {
  if (tree.name.empty()) return true;  // not there when it was backed up
  Registry& registry = platform.registry;
  RegKey parent = kClassesRoot;
  if (!key.parent.empty() &&
      registry.OpenKeyW(kClassesRoot, key.parent, kKeyAllAccess, &parent) != kErrorSuccess)
    return false;
  KeyCloser closer(registry, parent == kClassesRoot ? 0 : parent);
  const bool deleted = DeleteSavedTree(platform, parent, tree, ClassKeyPath(key));
  RegKey left = 0;
  if (registry.OpenKeyW(parent, key.name, kKeyRead, &left) == kErrorSuccess) {
    registry.CloseKey(left);
    return false;
  }
  log += key.label + ": " + Shown(key.name) + "\n";
  return deleted;
}

}  // namespace corvane
