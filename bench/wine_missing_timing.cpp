// Times Find Missing Dependencies under Wine two ways: walking each record's server file alone,
// and one search that reads each file and finds each DLL name once. Both must mark the same
// records. Runs on the prefix's DLL servers and controls, then on a synthetic registry of many
// classes that share a handful of the system's server DLLs.
//   corvane_wine_missing_timing [SYNTHETIC_CLASSES [SERVER_PATH...]]
// (default 3000 classes; the given servers join the six system ones, for instance one whose
// DLL is missing so that some records are marked)
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/dependency_walker.h"
#include "catalogue/object_lists.h"
#include "catalogue/registry_scan.h"
#include "platform/console_notice.h"
#include "platform/memory/memory_registry.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_modules.h"
#include "platform/win32/win32_registry.h"
#include "tools/missing_dependencies.h"

using namespace corvane;

namespace {

double Milliseconds(LARGE_INTEGER start, LARGE_INTEGER end) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / frequency.QuadPart;
}

// What the dialog would have marked, walking each record alone.
std::vector<bool> WalkEach(const Platform& platform, const std::vector<CRegisteredObject*>& records) {
  std::vector<bool> marks;
  for (const CRegisteredObject* record : records) {
    bool marked = false;
    if (record->exists() == 1) {
      std::vector<std::unique_ptr<CFileObject>> list;
      if (GetFileDependencies(platform, record->GetFilePath(), list)) {
        for (const auto& entry : list)
          marked = marked || (entry->exists() == 0 && !entry->delay_loaded());
      }
    }
    marks.push_back(marked);
  }
  return marks;
}

std::vector<bool> SearchOnce(const Platform& platform, const std::vector<CRegisteredObject*>& records) {
  std::vector<bool> marks;
  MissingDependencySearch search(platform.files, platform.modules);
  for (const CRegisteredObject* record : records) marks.push_back(search.IsMissingDependency(*record));
  return marks;
}

// Runs both over the records and prints the two times and their ratio; false when the marks differ.
bool Compare(const char* what, const Platform& platform,
             const std::vector<CRegisteredObject*>& records) {
  LARGE_INTEGER start, middle, end;
  QueryPerformanceCounter(&start);
  const std::vector<bool> walked = WalkEach(platform, records);
  QueryPerformanceCounter(&middle);
  const std::vector<bool> searched = SearchOnce(platform, records);
  QueryPerformanceCounter(&end);
  long marked = 0;
  for (bool mark : searched) marked += mark ? 1 : 0;
  const double each = Milliseconds(start, middle);
  const double once = Milliseconds(middle, end);
  std::printf("%s: %zu records, %ld marked; each record walked alone %.1f ms, one shared search "
              "%.1f ms, %.1f times faster; marks %s\n",
              what, records.size(), marked, each, once, once > 0 ? each / once : 0.0,
              walked == searched ? "identical" : "DIFFER");
  return walked == searched;
}

}  // namespace

int main(int argc, char** argv) {
  const int synthetic = argc > 1 ? std::atoi(argv[1]) : 3000;
  Win32Registry registry;
  Win32Files files;
  Win32Modules modules;
  ConsoleNotice notice;
  const Platform platform{registry, files, modules, notice};

  CObjectLists lists;
  ScanRegistry(platform, lists);
  std::vector<CRegisteredObject*> prefix;
  for (Category category : {kControls, kDllServers})
    for (const auto& record : lists.list(category)) prefix.push_back(record.get());
  bool same = Compare("prefix controls and DLL servers", platform, prefix);

  // Many classes over a few shared servers, in a registry of their own; the files are real.
  char system[MAX_PATH] = "";
  GetSystemDirectoryA(system, MAX_PATH);
  std::vector<std::string> servers;
  for (const char* name : {"ole32.dll", "oleaut32.dll", "shell32.dll", "urlmon.dll",
                           "mshtml.dll", "comctl32.dll"})
    servers.push_back(std::string(system) + "\\" + name);
  for (int i = 2; i < argc; ++i) servers.push_back(argv[i]);
  MemoryRegistry classes;
  std::vector<std::unique_ptr<CRegisteredObject>> owned;
  std::vector<CRegisteredObject*> records;
  const Platform synthetic_platform{classes, files, modules, notice};
  for (int i = 0; i < synthetic; ++i) {
    char clsid[64];
    std::snprintf(clsid, sizeof clsid, "{B0000000-0000-0000-0000-%012d}", i);
    classes.SetString(kClassesRoot, std::string("CLSID\\") + clsid + "\\InprocServer32", "",
                      servers[i % servers.size()]);
    owned.push_back(std::make_unique<CRegisteredObject>(synthetic_platform, clsid, "InprocServer32"));
    records.push_back(owned.back().get());
  }
  same = Compare("synthetic classes over a few shared servers", synthetic_platform, records) && same;
  return same ? 0 : 1;
}
