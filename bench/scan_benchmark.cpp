// The catalogue scan and the lookup by file over a registry of tens of thousands of classes.
// Counters report the registry opens and file finds per class, which the walks' cost is
// bounded by (four probes, one open per record built, one find per record).
#include <benchmark/benchmark.h>

#include <cstdio>

#include "catalogue/registry_scan.h"
#include "tests/unit/memory_platform.h"

namespace corvane {
namespace {

class CountingRegistry : public MemoryRegistry {
 public:
  long OpenKey(RegKey parent, const char* path, std::uint32_t access, RegKey* out) override {
    ++opens;
    return MemoryRegistry::OpenKey(parent, path, access, out);
  }
  long opens = 0;
};

class CountingFiles : public MemoryFiles {
 public:
  bool FindFile(const char* path, FoundFile* found) override {
    ++finds;
    return MemoryFiles::FindFile(path, found);
  }
  long finds = 0;
};

struct BigRegistry {
  explicit BigRegistry(int classes) {
    char clsid[64];
    for (int i = 0; i < classes; ++i) {
      std::snprintf(clsid, sizeof clsid, "{%08X-0000-0000-C000-000000000046}", i);
      const std::string key = std::string("CLSID\\") + clsid;
      const std::string file = "C:\\windows\\system32\\server" + std::to_string(i % 500) + ".dll";
      if (i % 4 != 3) registry.SetString(kClassesRoot, key + "\\ProgID", "", "Server.Class." + std::to_string(i));
      if (i % 10 == 0) registry.AddKey(kClassesRoot, key + "\\Control");
      if (i % 7 == 0)
        registry.SetString(kClassesRoot, key + "\\LocalServer32", "", "C:\\Program Files\\App\\app.exe /automation");
      else
        registry.SetString(kClassesRoot, key + "\\InprocServer32", "", file);
    }
    for (int i = 0; i < 400; ++i)
      files.AddFile("C:\\windows\\system32\\server" + std::to_string(i) + ".dll");
    files.AddFile("C:\\Program Files\\App\\app.exe");
  }
  CountingRegistry registry;
  CountingFiles files;
  MemoryModules modules;
  RecordingNotice notice;
  Platform platform{registry, files, modules, notice};
};

void BM_ScanRegistry(benchmark::State& state) {
  const int classes = static_cast<int>(state.range(0));
  BigRegistry big(classes);
  std::size_t records = 0;
  for (auto _ : state) {
    CObjectLists lists;
    ScanRegistry(big.platform, lists);
    records = lists.list(kControls).size() + lists.list(kDllServers).size() +
              lists.list(kExeServers).size();
    benchmark::DoNotOptimize(records);
  }
  const double walks = static_cast<double>(state.iterations());
  state.counters["records"] = static_cast<double>(records);
  state.counters["opens_per_class"] = big.registry.opens / walks / classes;
  state.counters["finds_per_record"] = big.files.finds / walks / static_cast<double>(records);
  state.SetItemsProcessed(state.iterations() * classes);
}
BENCHMARK(BM_ScanRegistry)->Arg(10000)->Arg(30000)->Unit(benchmark::kMillisecond);

void BM_FindObjectByFileWithoutMatch(benchmark::State& state) {
  const int classes = static_cast<int>(state.range(0));
  BigRegistry big(classes);
  for (auto _ : state) {
    auto record = FindObjectByFile(big.platform, "C:\\not\\registered.dll");
    benchmark::DoNotOptimize(record);
  }
  state.SetItemsProcessed(state.iterations() * classes);
}
BENCHMARK(BM_FindObjectByFileWithoutMatch)->Arg(30000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace corvane

BENCHMARK_MAIN();
