// Removing a class's keys below HKEY_CLASSES_ROOT: which names may be deleted at all, the
// backup written before anything goes, and the deletion of one key with its log line.
#pragma once
#include <string>
#include <vector>

#include "platform/platform.h"

namespace corvane {

// One key of a class: its log label ("ProgID", "TypeLib", "CLSID", "AppID"), the key below
// HKEY_CLASSES_ROOT it lives in ("" for the root itself) and its name.
struct ClassKey {
  std::string label;
  std::string parent;
  std::string name;
};

// The header line of a removal's log: 42 hyphens and a line break.
extern const char kRemovalLogHeader[];

// False for names read from a registration that must never be deleted: empty or blank, with a
// backslash (a path into other keys), or a key that all classes share ("CLSID", "TypeLib",
// "Interface", "AppID", "*", a file type starting with ".", and the like).
bool IsOwnKeyName(const std::string& name);
// The key's path below HKEY_CLASSES_ROOT.
std::string ClassKeyPath(const ClassKey& key);

// How the system's registry editor (a 64-bit program on 64-bit Windows) names the root of a
// key below HKEY_CLASSES_ROOT in the chosen view: the 32-bit view's own keys (its CLSIDs, for
// one) lie below "HKEY_CLASSES_ROOT\Wow6432Node", so that importing a backup puts them back
// into the view they came from; everything else below "HKEY_CLASSES_ROOT".
std::string ShownClassesRoot(Registry& registry, const std::string& path);

// Writes every key of keys, with all below it, into a new file of the backup folder
// (<application data>\Tessaline\Corvane\Backup), named by the local date and time and the
// CLSID. Returns its path; when a key can't be read or the file can't be written, tells the
// user that nothing was removed for name and returns an empty string.
std::string WriteRemovalBackup(const Platform& platform, const std::string& clsid,
                               const std::string& name, const std::vector<ClassKey>& keys);

// Deletes the key with everything below it (the parent opened with full access) and appends
// "<label>: <name>" and a line break to log when the key was there before and is gone now.
void DeleteClassKey(const Platform& platform, const ClassKey& key, std::string& log);

}  // namespace corvane
