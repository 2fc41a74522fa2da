// Times the catalogue scan and the lookup by file on the real registry under Wine, over a
// scratch HKEY_CLASSES_ROOT holding tens of thousands of classes.
//   corvane_wine_scan_timing [CLASSES]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "catalogue/registry_scan.h"
#include "platform/console_notice.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_modules.h"
#include "platform/win32/win32_registry.h"

using namespace corvane;

namespace {

const char kScratch[] = "Software\\CorvaneTiming\\Classes";

double Seconds(LARGE_INTEGER start, LARGE_INTEGER end) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(end.QuadPart - start.QuadPart) / frequency.QuadPart;
}

void SetDefault(HKEY root, const std::string& path, const std::string& value) {
  HKEY key;
  if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr))
    return;
  RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>(value.size() + 1));
  RegCloseKey(key);
}

}  // namespace

int main(int argc, char** argv) {
  const int classes = argc > 1 ? std::atoi(argv[1]) : 20000;
  RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\CorvaneTiming");
  HKEY scratch;
  RegCreateKeyExA(HKEY_CURRENT_USER, kScratch, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &scratch,
                  nullptr);
  char clsid[64];
  for (int i = 0; i < classes; ++i) {
    std::snprintf(clsid, sizeof clsid, "CLSID\\{%08X-0000-0000-C000-000000000046}", i);
    SetDefault(scratch, std::string(clsid) + "\\ProgID", "Timing.Class." + std::to_string(i));
    SetDefault(scratch, std::string(clsid) + "\\InprocServer32",
               i % 3 ? "C:\\windows\\system32\\ole32.dll" : "C:\\missing\\server.dll");
    if (i % 10 == 0) SetDefault(scratch, std::string(clsid) + "\\Control", "");
  }
  RegOverridePredefKey(HKEY_CLASSES_ROOT, scratch);

  Win32Registry registry;
  Win32Files files;
  Win32Modules modules;
  ConsoleNotice notice;
  const Platform platform{registry, files, modules, notice};
  LARGE_INTEGER start, scanned, looked_up;
  QueryPerformanceCounter(&start);
  CObjectLists lists;
  ScanRegistry(platform, lists);
  QueryPerformanceCounter(&scanned);
  auto none = FindObjectByFile(platform, "C:\\not\\registered.dll");
  QueryPerformanceCounter(&looked_up);

  std::printf("classes %d: scan %.3f s (%zu controls, %zu DLL servers), lookup without match %.3f s\n",
              classes, Seconds(start, scanned), lists.list(kControls).size(),
              lists.list(kDllServers).size(), Seconds(scanned, looked_up));
  RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
  RegCloseKey(scratch);
  RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\CorvaneTiming");
  return none ? 1 : 0;
}
