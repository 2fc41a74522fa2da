// The comparison with a fleet of computers, one after the other and eight at a time, over a
// stand-in network: 100 computers, every third unreachable after 500 ms, the others answering
// after 20 ms, 50 records each. Prints both wall-clock times. The Windows build also times the
// results dialog filling 5,000, 10,000 and 20,000 rows from 3 computers.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>

#include "platform/memory/memory_registry.h"
#include "tools/computer_comparison.h"

#ifdef _WIN32
#include <windows.h>

#include "catalogue/object_kinds.h"
#include "platform/memory/memory_files.h"
#include "platform/memory/memory_modules.h"
#include "platform/memory/recording_notice.h"
#include "tools/compare_results_dlg.h"
#endif

namespace corvane {
namespace {

constexpr int kComputers = 100;
constexpr int kRecords = 50;

class SlowNetworkRegistry : public MemoryRegistry {
 public:
  long ConnectLocalMachine(const char* computer, RegKey* out) override {
    const bool unreachable = std::string(computer).find("DOWN") != std::string::npos;
    std::this_thread::sleep_for(std::chrono::milliseconds(unreachable ? 500 : 20));
    return MemoryRegistry::ConnectLocalMachine(computer, out);
  }
};

class NullSink : public ComparisonSink {
 public:
  void SetCell(std::size_t, std::size_t, const std::string&) override {}
  void FitColumns() override {}
};

double Seconds(SlowNetworkRegistry& registry, const std::vector<ComparedRecord>& records,
               const std::vector<std::string>& computers, std::size_t concurrent) {
  NullSink sink;
  StopFlag stop{0};
  const auto start = std::chrono::steady_clock::now();
  CompareWithComputers(registry, records, computers, stop, sink, concurrent);
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

#ifdef _WIN32
constexpr int kDialogComputers = 3;

using Clock = std::chrono::steady_clock;

CCompareResultsDlg* g_timed_dialog = nullptr;
Clock::time_point g_shown;

// Notes when the dialog first runs its loop, and ends it once the worker has written the last
// result.
void CALLBACK EndWhenDone(HWND, UINT, UINT_PTR, DWORD) {
  if (g_timed_dialog == nullptr || g_timed_dialog->GetSafeHwnd() == nullptr) return;
  if (g_shown == Clock::time_point()) g_shown = Clock::now();
  if (!g_timed_dialog->comparing()) EndDialog(g_timed_dialog->GetSafeHwnd(), IDOK);
}

struct DialogTimes {
  double opened;  // rows inserted and the worker started
  double filled;  // every cell written
};

// Opens the results dialog over `rows` records and times it until every cell is written.
DialogTimes DialogSeconds(int rows) {
  MemoryRegistry registry;
  MemoryFiles files;
  MemoryModules modules;
  RecordingNotice notice;
  const Platform platform{registry, files, modules, notice};
  std::vector<std::string> computers;
  std::vector<RegKey> machines;
  for (int k = 0; k < kDialogComputers; ++k) {
    computers.push_back("PC" + std::to_string(k));
    machines.push_back(registry.AddComputer(computers.back()));
  }
  std::vector<std::unique_ptr<CRegisteredObject>> owned;
  std::vector<CRegisteredObject*> records;
  char clsid[64];
  for (int i = 0; i < rows; ++i) {
    std::snprintf(clsid, sizeof clsid, "{%08X-0000-0000-0000-000000000000}", i);
    const std::string key = std::string("CLSID\\") + clsid;
    registry.SetString(kClassesRoot, key + "\\ProgID", "", "Bench.Class." + std::to_string(i));
    registry.SetString(kClassesRoot, key + "\\Version", "", "1.0");
    // Registered with this version, with another, or missing, by turns.
    for (int k = 0; k < kDialogComputers; ++k) {
      if ((i + k) % 3 == 2) continue;
      registry.SetString(machines[k], "Software\\Classes\\" + key + "\\Version", "",
                         (i + k) % 3 == 0 ? "1.0" : "2.0");
    }
    owned.push_back(std::make_unique<CControlObject>(platform, clsid));
    records.push_back(owned.back().get());
  }
  CCompareResultsDlg dialog(records, computers, "Controls", registry);
  g_timed_dialog = &dialog;
  g_shown = Clock::time_point();
  const UINT_PTR timer = SetTimer(nullptr, 0, 20, EndWhenDone);
  const Clock::time_point start = Clock::now();
  dialog.DoModal();
  const Clock::time_point end = Clock::now();
  KillTimer(nullptr, timer);
  g_timed_dialog = nullptr;
  return {std::chrono::duration<double>(g_shown - start).count(),
          std::chrono::duration<double>(end - start).count()};
}
#endif

}  // namespace
}  // namespace corvane

// Arguments: the row counts of the results dialog (5000 10000 20000 when none are given).
int main(int argc, char** argv) {
  using namespace corvane;
  SlowNetworkRegistry registry;
  std::vector<ComparedRecord> records;
  for (int i = 0; i < kRecords; ++i) records.push_back({"{" + std::to_string(i) + "}", "1.0"});
  std::vector<std::string> computers;
  for (int k = 0; k < kComputers; ++k) {
    const std::string name = (k % 3 == 2 ? "DOWN" : "PC") + std::to_string(k);
    computers.push_back(name);
    if (k % 3 == 2) continue;
    const RegKey machine = registry.AddComputer(name);
    for (const ComparedRecord& record : records)
      registry.SetString(machine, "Software\\Classes\\CLSID\\" + record.clsid + "\\Version", "",
                         "1.0");
  }
  const double sequential = Seconds(registry, records, computers, 1);
  const double concurrent = Seconds(registry, records, computers, kConcurrentConnections);
  std::printf("computers %d (%d unreachable after 500 ms, the rest answering after 20 ms), "
              "records %d\n",
              kComputers, kComputers / 3, kRecords);
  std::printf("sequential: %.2f s\nconcurrent (%zu at a time): %.2f s\n", sequential,
              kConcurrentConnections, concurrent);
#ifdef _WIN32
  // Linear filling keeps the time per row flat as the rows double.
  std::vector<int> counts;
  for (int i = 1; i < argc; ++i) counts.push_back(std::atoi(argv[i]));
  if (counts.empty()) counts = {5000, 10000, 20000};
  for (int rows : counts) {
    const DialogTimes times = DialogSeconds(rows);
    std::printf("results dialog, %d rows x %d computers: open %.2f s, filled %.2f s "
                "(%.1f us per row)\n",
                rows, kDialogComputers, times.opened, times.filled, times.filled * 1e6 / rows);
  }
#else
  (void)argc;
  (void)argv;
#endif
  return 0;
}
