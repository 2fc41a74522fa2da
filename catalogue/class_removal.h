// Removing a class's keys below HKEY_CLASSES_ROOT: which names may be deleted at all, the
// backup written before anything goes, and the deletion of exactly what was backed up.
#pragma once
#include <string>
#include <vector>

#include "catalogue/registry_backup.h"
#include "platform/platform.h"

namespace corvane {

// One key of a class: its log label ("ProgID", "TypeLib", "CLSID", "AppID"), the key below
// HKEY_CLASSES_ROOT it lives in ("" for the root itself) and its name as stored.
struct ClassKey {
  std::string label;
  std::u16string parent;
  std::u16string name;
};

// The header line of a removal's log: 42 hyphens and a line break.
extern const char kRemovalLogHeader[];

// False for names read from a registration that must never be deleted: empty or blank, with a
// backslash (a path into other keys), or a key that all classes share ("CLSID", "TypeLib",
// "Interface", "AppID", "*", a file type starting with ".", and the like).
bool IsOwnKeyName(const std::string& name);
bool IsOwnKeyName(const std::u16string& name);
// The key's path below HKEY_CLASSES_ROOT.
std::u16string ClassKeyPath(const ClassKey& key);

// How the system's registry editor (a 64-bit program on 64-bit Windows) names the root of a
// key below HKEY_CLASSES_ROOT in the chosen view: the 32-bit view's own keys (its CLSIDs, for
// one) lie below "HKEY_CLASSES_ROOT\Wow6432Node", so that importing a backup puts them back
// into the view they came from; everything else below "HKEY_CLASSES_ROOT".
std::string ShownClassesRoot(Registry& registry, const std::string& path);

// A value of path below root (the default value when name is empty) as text, read through
// the wide calls; empty when the key or value is absent or not a string.
std::u16string ReadWideText(Registry& registry, RegKey root, const std::u16string& path,
                            const std::u16string& name = std::u16string());

// <application data>\Tessaline\Corvane\Backup; empty when the application data folder is
// unknown.
std::string BackupFolderPath(Files& files);

// Reads every key of keys with all below it into trees (one per key; a key that is absent
// gets an empty name) and writes them into a new file of the backup folder
// (<application data>\Tessaline\Corvane\Backup), named by the local date and time and the
// CLSID. Returns its path; when a key can't be read, holds a registry link or a name the
// file can't carry, or the file can't be written, tells the user that nothing was removed
// for name and returns an empty string.
std::string WriteRemovalBackup(const Platform& platform, const std::string& clsid,
                               const std::string& name, const std::vector<ClassKey>& keys,
                               std::vector<SavedKey>* trees);

// Deletes the keys of tree (the key as it was backed up) deepest first, each opened as
// itself; a key that gained a subkey since stays. Appends "<label>: <name>" and a line break
// to log when the key was there and is gone now; false after telling the user which key
// could not be deleted.
bool DeleteClassKey(const Platform& platform, const ClassKey& key, const SavedKey& tree,
                    std::string& log);

}  // namespace corvane
