// The in-memory seams wired together for a test.
#pragma once
#include "platform/memory/memory_files.h"
#include "platform/memory/memory_modules.h"
#include "platform/memory/memory_registry.h"
#include "platform/memory/recording_notice.h"
#include "platform/platform.h"

namespace corvane {

struct MemoryPlatform {
  MemoryRegistry registry;
  MemoryFiles files;
  MemoryModules modules;
  RecordingNotice notice;
  Platform platform{registry, files, modules, notice};

  // Writes a class key below HKEY_CLASSES_ROOT\CLSID.
  void AddClass(const std::string& clsid, const std::string& subkey, const std::string& value) {
    registry.SetString(kClassesRoot, "CLSID\\" + clsid + "\\" + subkey, "", value);
  }
};

}  // namespace corvane
