// Test support on the real registry and file system of the Wine prefix.
#pragma once
#include <windows.h>

#include <string>

#include "platform/console_notice.h"
#include "platform/memory/recording_notice.h"
#include "platform/platform.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_modules.h"
#include "platform/win32/win32_registry.h"

namespace corvane {

// A fixture file of the build, beside the test's build folder.
std::string FixturePath(const char* name);

// The real seams, with a notice that records.
struct Win32Platform {
  Win32Registry registry;
  Win32Files files;
  Win32Modules modules;
  RecordingNotice notice;
  Platform platform{registry, files, modules, notice};
};

// Deletes the key and every key below it; nothing when it is absent.
void DeleteRegistryTree(HKEY root, const char* path);
bool RegistryKeyExists(HKEY root, const char* path);

// Points a predefined key of this process at an empty scratch key below HKEY_CURRENT_USER for
// the life of the object, then deletes `removed`: the scratch key or a key above it.
class ScratchRedirect {
 public:
  ScratchRedirect(HKEY predefined, const char* scratch, const char* removed);
  ~ScratchRedirect();
  ScratchRedirect(const ScratchRedirect&) = delete;
  ScratchRedirect& operator=(const ScratchRedirect&) = delete;
  HKEY key() const { return scratch_; }

 private:
  HKEY predefined_;
  HKEY scratch_ = nullptr;
  std::string removed_;
};

// Points HKEY_CLASSES_ROOT of this process at an empty scratch key below HKEY_CURRENT_USER
// for the life of the object, then deletes the scratch key.
class ScratchClasses {
 public:
  ScratchClasses();
  ~ScratchClasses();
  // Sets a value below the scratch HKEY_CLASSES_ROOT; name null is the default value.
  void Set(const std::string& path, const char* name, const std::string& value);
  void AddKey(const std::string& path);
  bool Exists(const std::string& path) const;

 private:
  ScratchRedirect redirect_;
};

// A folder of real files under the prefix's temporary folder, removed afterwards.
class ScratchFolder {
 public:
  explicit ScratchFolder(const std::string& name);
  ~ScratchFolder();
  // Creates a file (and its folders) below the scratch folder; returns its full path.
  std::string AddFile(const std::string& relative_path);
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace corvane
