// Times bulk removal on the real registry under Wine: a scratch HKEY_CLASSES_ROOT of many
// classes, a fifth of them misbehaved, each removed with its own backup file as
// "corvane-cli remove --misbehaved --yes" removes them.
//   corvane_wine_removal_timing [CLASSES [EVERY]]   (one class in EVERY misbehaved; 5)
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>

#include "app/settings.h"
#include "catalogue/registry_scan.h"
#include "platform/console_notice.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_modules.h"
#include "platform/win32/win32_registry.h"

using namespace corvane;

namespace {

const char kScratch[] = "Software\\CorvaneRemovalTiming\\Classes";

class QuietNotice : public ConsoleNotice {
 public:
  void NotifyAction(const std::string&, int) override {}
};

double Seconds(LARGE_INTEGER start, LARGE_INTEGER end) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(end.QuadPart - start.QuadPart) / frequency.QuadPart;
}

void SetValue(HKEY root, const std::string& path, const char* name, const std::string& value) {
  HKEY key;
  if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr))
    return;
  RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>(value.size() + 1));
  RegCloseKey(key);
}

}  // namespace

int main(int argc, char** argv) {
  const int classes = argc > 1 ? std::atoi(argv[1]) : 20000;
  const int every = argc > 2 ? std::atoi(argv[2]) : 5;  // one class in this many is misbehaved
  RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\CorvaneRemovalTiming");
  HKEY scratch;
  RegCreateKeyExA(HKEY_CURRENT_USER, kScratch, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &scratch,
                  nullptr);
  char clsid[48], lib[48];
  for (int i = 0; i < classes; ++i) {
    std::snprintf(clsid, sizeof clsid, "{%08X-0000-0000-C000-0000000000AB}", i);
    std::snprintf(lib, sizeof lib, "{%08X-1111-0000-C000-0000000000AB}", i / 2);
    const std::string key = std::string("CLSID\\") + clsid, prog_id = "Removal.Timing." + std::to_string(i);
    SetValue(scratch, key, nullptr, "Removal timing class");
    SetValue(scratch, key + "\\ProgID", nullptr, prog_id);
    SetValue(scratch, key + "\\InprocServer32", nullptr,
             i % every ? "C:\\windows\\system32\\ole32.dll" : "C:\\missing\\server.dll");
    SetValue(scratch, key + "\\InprocServer32", "ThreadingModel", "Apartment");
    SetValue(scratch, key + "\\TypeLib", nullptr, lib);  // two classes share each library
    SetValue(scratch, prog_id + "\\CLSID", nullptr, clsid);
    SetValue(scratch, std::string("TypeLib\\") + lib + "\\1.0", nullptr, "Timing library");
  }
  RegOverridePredefKey(HKEY_CLASSES_ROOT, scratch);

  Win32Registry registry;
  Win32Files files;
  Win32Modules modules;
  QuietNotice notice;
  const Platform platform{registry, files, modules, notice};
  AppSettings().after_remove = 3;
  LARGE_INTEGER start, scanned, removed;
  QueryPerformanceCounter(&start);
  CObjectLists lists;
  ScanRegistry(platform, lists);
  QueryPerformanceCounter(&scanned);
  std::set<std::string> backups;
  int misbehaved = 0, failed = 0;
  for (const auto& record : lists.list(kDllServers)) {
    if (record->exists() != 0) continue;
    ++misbehaved;
    std::string log;
    if (record->RemoveFromRegistry(log) != 1) ++failed;
    backups.insert(record->backup_path());
  }
  QueryPerformanceCounter(&removed);

  const double removal = Seconds(scanned, removed);
  std::printf("classes %d, misbehaved %d, scan %.2f s\n", classes, misbehaved, Seconds(start, scanned));
  std::printf("removal %.2f s, %.2f ms per class, %d failed, %zu backup files\n", removal,
              misbehaved ? 1000.0 * removal / misbehaved : 0.0, failed, backups.size());

  for (const std::string& path : backups) DeleteFileA(path.c_str());
  RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
  RegCloseKey(scratch);
  RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\CorvaneRemovalTiming");
  return failed == 0 && static_cast<int>(backups.size()) == misbehaved ? 0 : 1;
}
