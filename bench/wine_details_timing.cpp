// Times what selecting a record costs on the real registry and files under Wine: its attribute
// rows, its dependency closure and its registry key tree, for the class of a server file.
//   corvane_wine_details_timing [SERVER_PATH]   (default: the system's mshtml.dll)
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>

#include "catalogue/file_object.h"
#include "catalogue/record_sinks.h"
#include "catalogue/registry_scan.h"
#include "platform/console_notice.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_modules.h"
#include "platform/win32/win32_registry.h"

using namespace corvane;

namespace {

struct CountingSinks : AttributeRows, KeyTree, DependencyTree {
  int rows = 0, keys = 0, entries = 0;
  void AddAttributeRow(const std::string&, const std::string&, int) override { ++rows; }
  TreeItem InsertItem(TreeItem, const std::string&) override { return ++keys; }
  void Expand(TreeItem) override {}
  void InsertEntry(std::unique_ptr<CFileObject>, int) override { ++entries; }
};

double Milliseconds(LARGE_INTEGER start, LARGE_INTEGER end) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / frequency.QuadPart;
}

}  // namespace

int main(int argc, char** argv) {
  std::string path = argc > 1 ? argv[1] : "";
  if (path.empty()) {
    char system[MAX_PATH] = "";
    GetSystemDirectoryA(system, MAX_PATH);
    path = std::string(system) + "\\mshtml.dll";
  }
  Win32Registry registry;
  Win32Files files;
  Win32Modules modules;
  ConsoleNotice notice;
  const Platform platform{registry, files, modules, notice};

  std::unique_ptr<CRegisteredObject> record = FindObjectByFile(platform, path);
  if (record == nullptr) {
    std::fprintf(stderr, "no registered class has the server file %s\n", path.c_str());
    return 1;
  }
  const int runs = 20;
  double total = 0;
  CountingSinks sinks;
  for (int i = 0; i < runs; ++i) {
    sinks = CountingSinks();
    std::unique_ptr<CRegisteredObject> fresh = FindObjectByFile(platform, path);
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    fresh->FillAttributes(sinks);
    fresh->FillDependencies(sinks);
    fresh->FillRegistryTree(sinks);
    QueryPerformanceCounter(&end);
    total += Milliseconds(start, end);
  }
  std::printf("details of %s (%s): %d rows, %d dependencies, %d keys; %.1f ms on average over %d runs\n",
              record->GetName().c_str(), path.c_str(), sinks.rows, sinks.entries, sinks.keys,
              total / runs, runs);
  return 0;
}
