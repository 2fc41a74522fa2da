// The comparison with a fleet of computers, one after the other and eight at a time, over a
// stand-in network: 100 computers, every third unreachable after 500 ms, the others answering
// after 20 ms, 50 records each. Prints both wall-clock times.
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "platform/memory/memory_registry.h"
#include "tools/computer_comparison.h"

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

}  // namespace
}  // namespace corvane

int main() {
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
  return 0;
}
