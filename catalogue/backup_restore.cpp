#include "catalogue/backup_restore.h"

#include <algorithm>
#include <set>

#include "catalogue/backup_reader.h"
#include "catalogue/class_removal.h"
#include "catalogue/registry_access.h"
#include "platform/text.h"

namespace corvane {

namespace {

bool ReadFile(const Platform& platform, const std::string& path, std::vector<BackupSection>* keys,
              std::string* error, bool* from_32bit_view = nullptr) {
  auto view = platform.files.MapFile(path.c_str());
  if (!view) {
    *error = "The file can't be read.";
    return false;
  }
  if (!ReadBackupFile(view->data(), view->size(), keys, error)) return false;
  // The system's registry editor names the 32-bit view's own keys through Wow6432Node; they
  // are put back through that view under their own names.
  const std::u16string wow = u"Wow6432Node\\";
  for (BackupSection& key : *keys) {
    if (key.path.size() <= wow.size() || !EqualsNoCase(key.path.substr(0, wow.size()), wow))
      continue;
    key.path.erase(0, wow.size());
    if (from_32bit_view != nullptr) *from_32bit_view = true;
  }
  return true;
}

std::u16string ParentOf(const std::u16string& path) {
  const std::size_t slash = path.rfind(u'\\');
  return slash == std::u16string::npos ? std::u16string() : path.substr(0, slash);
}

// The keys that begin a tree: their parent is not in the file.
std::vector<std::u16string> TopKeys(const std::vector<BackupSection>& keys) {
  std::set<std::u16string> paths;
  for (const BackupSection& key : keys) paths.insert(Folded(key.path));
  std::vector<std::u16string> tops;
  for (const BackupSection& key : keys)
    if (!paths.count(Folded(ParentOf(key.path)))) tops.push_back(key.path);
  return tops;
}

ClassKey KeyOfPath(const std::u16string& path) {
  const std::u16string parent = ParentOf(path);
  return ClassKey{"Key", parent, parent.empty() ? path : path.substr(parent.size() + 1)};
}

bool KeyThere(Registry& registry, const std::u16string& path) {
  RegKey key = 0;
  if (registry.OpenKeyW(kClassesRoot, path, kKeyRead, &key) != kErrorSuccess) return false;
  registry.CloseKey(key);
  return true;
}

std::u16string DefaultText(const std::vector<BackupSection>& keys, const std::u16string& path) {
  for (const BackupSection& key : keys) {
    if (!EqualsNoCase(key.path, path)) continue;
    for (const SavedValue& value : key.values)
      if (value.name.empty() && (value.type == kRegSz || value.type == kRegExpandSz))
        return TextOfBytes(value.data);
  }
  return std::u16string();
}

// Deletes the trees a failed restore made; nothing else is touched.
void Undo(const Platform& platform, const std::vector<std::u16string>& created) {
  std::string ignored;
  for (const std::u16string& path : created) {
    SavedKey tree;
    std::u16string problem;
    const ClassKey key = KeyOfPath(path);
    if (ReadSavedKey(platform.registry, kClassesRoot, path, path, &tree, &problem) !=
        ReadOutcome::kRead)
      continue;
    tree.name = key.name;
    DeleteClassKey(platform, key, tree, ignored);
  }
}

}  // namespace

std::vector<BackupEntry> ListBackups(const Platform& platform) {
  std::vector<BackupEntry> entries;
  const std::string folder = BackupFolderPath(platform.files);
  if (folder.empty()) return entries;
  for (const FoundFile& file : platform.files.ListRegFiles(folder.c_str())) {
    BackupEntry entry;
    entry.path = folder + "\\" + file.long_name;
    const std::string& name = file.long_name;
    if (name.size() >= 15 && name[8] == '-')
      entry.when = name.substr(0, 4) + "-" + name.substr(4, 2) + "-" + name.substr(6, 2) + " " +
                   name.substr(9, 2) + ":" + name.substr(11, 2) + ":" + name.substr(13, 2);
    std::vector<BackupSection> keys;
    if (ReadFile(platform, entry.path, &keys, &entry.error)) {
      for (const std::u16string& top : TopKeys(keys)) {
        if (top.size() > 6 && EqualsNoCase(top.substr(0, 6), std::u16string(u"CLSID\\")))
          entry.clsid = Shown(top.substr(6));
      }
      const std::u16string class_path = u"CLSID\\" + Widen(entry.clsid);
      entry.prog_id = Shown(DefaultText(keys, class_path + u"\\ProgID"));
      std::u16string server = DefaultText(keys, class_path + u"\\InprocServer32");
      if (server.empty()) server = DefaultText(keys, class_path + u"\\LocalServer32");
      entry.server = Shown(server);
      std::vector<char> expanded(kPathBufferSize * 4);
      const std::string bare = StripQuotes(entry.server);
      const std::uint32_t needed = platform.files.ExpandEnvironment(
          bare.c_str(), expanded.data(), static_cast<std::uint32_t>(expanded.size()));
      FoundFile found;
      entry.server_present = !bare.empty() && needed > 0 && needed <= expanded.size() &&
                             platform.files.FindFile(expanded.data(), &found);
    }
    entries.push_back(std::move(entry));
  }
  std::sort(entries.begin(), entries.end(),
            [](const BackupEntry& a, const BackupEntry& b) { return a.path > b.path; });
  return entries;
}

RestoreResult RestoreBackup(const Platform& platform, const std::string& path,
                            bool replace_current) {
  RestoreResult result;
  Registry& registry = platform.registry;
  std::vector<BackupSection> keys;
  std::string error;
  bool from_32bit_view = false;
  if (!ReadFile(platform, path, &keys, &error, &from_32bit_view)) {
    result.status = RestoreStatus::kUnreadable;
    result.message = path + " is not a backup Corvane can restore.\n\n" + error;
    return result;
  }
  // Back into the view the class was removed from, whichever is shown now.
  ViewSwitch view(registry, !registry.HasTwoViews() ? registry.view()
                            : from_32bit_view       ? RegistryView::k32
                                                    : RegistryView::k64);
  const std::vector<std::u16string> tops = TopKeys(keys);
  std::vector<ClassKey> present;
  for (const std::u16string& top : tops)
    if (KeyThere(registry, top)) present.push_back(KeyOfPath(top));
  if (!present.empty() && !replace_current) {
    result.status = RestoreStatus::kRegisteredAgain;
    result.message = "The class is registered again: HKEY_CLASSES_ROOT\\" +
                     Shown(ClassKeyPath(present[0])) +
                     " exists. Nothing was restored, so that the current registration is not "
                     "mixed with the old one.";
    return result;
  }
  if (!present.empty()) {
    std::vector<SavedKey> trees;
    const std::string saved = WriteRemovalBackup(platform, "current", "the current registration",
                                                 present, &trees);
    if (saved.empty()) return result;  // the user was told why
    std::string ignored;
    for (std::size_t i = 0; i < present.size(); ++i) {
      if (!DeleteClassKey(platform, present[i], trees[i], ignored)) {
        result.message = "The current registration could not be removed; its backup is " + saved + ".";
        return result;
      }
    }
    result.message = "The current registration was backed up to " + saved + ".\n";
  }
  std::vector<std::u16string> created = tops;
  for (const BackupSection& section : keys) {
    RegKey key = 0;
    long rc = registry.CreateKeyW(kClassesRoot, section.path, &key);
    for (std::size_t i = 0; rc == kErrorSuccess && i < section.values.size(); ++i) {
      const SavedValue& value = section.values[i];
      rc = registry.SetValueW(key, value.name, value.type, value.data);
    }
    if (key != 0) registry.CloseKey(key);
    if (rc != kErrorSuccess) {
      Undo(platform, created);
      result.message += "The key HKEY_CLASSES_ROOT\\" + Shown(section.path) +
                        " could not be written (error " + std::to_string(rc) +
                        "); nothing of " + path + " was restored.";
      return result;
    }
  }
  result.status = RestoreStatus::kRestored;
  result.message += path + " was restored.";
  return result;
}

}  // namespace corvane
