#include "tools/computer_comparison.h"

#include <algorithm>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

#include "catalogue/remote_object.h"

namespace corvane {

namespace {

bool StopAsked(const StopFlag& stop) { return stop.load() != 0; }

// Opens Software\Classes of the computer's HKEY_LOCAL_MACHINE, which is closed at once.
bool ConnectClasses(Registry& registry, const std::string& name, RegKey* classes) {
  RegKey machine = 0;
  if (registry.ConnectLocalMachine(name.c_str(), &machine) != kErrorSuccess) return false;
  const long rc = registry.OpenKey(machine, "Software\\Classes", kKeyRead, classes);
  registry.CloseKey(machine);
  return rc == kErrorSuccess;
}

std::string RemoteText(Registry& registry, RegKey classes, const ComparedRecord& record) {
  CRemoteObject remote(registry, classes, record.clsid);
  if (remote.IsRegistered() == 0) return kMissingText;
  const std::string version = remote.GetVersion();
  return version == record.local_version ? std::string(kRegisteredText)
                                         : kVersionPrefix + version;
}

// At most `limit` attempts at once; the worker waits for a free one.
class AttemptSlots {
 public:
  explicit AttemptSlots(std::size_t limit) : limit_(limit) {}
  void Acquire() {
    std::unique_lock<std::mutex> hold(lock_);
    freed_.wait(hold, [this] { return busy_ < limit_; });
    ++busy_;
  }
  void Release() {
    {
      std::lock_guard<std::mutex> hold(lock_);
      --busy_;
    }
    freed_.notify_one();
  }

 private:
  std::mutex lock_;
  std::condition_variable freed_;
  std::size_t busy_ = 0;
  const std::size_t limit_;
};

}  // namespace

std::vector<ComparedRecord> ComparedRecords(const std::vector<CRegisteredObject*>& records) {
  std::vector<ComparedRecord> compared;
  compared.reserve(records.size());
  for (const CRegisteredObject* record : records)
    compared.push_back({record->clsid(), record->GetVersion()});
  return compared;
}

void CompareWithComputer(Registry& registry, const std::vector<ComparedRecord>& records,
                         std::size_t computer, const std::string& name, const StopFlag& stop,
                         ComparisonSink& sink) {
  if (!records.empty()) sink.SetCell(0, computer, kConnectingText);
  sink.FitColumns();
  RegKey classes = 0;
  if (!ConnectClasses(registry, name, &classes)) {
    for (std::size_t i = 0; i < records.size(); ++i)
      sink.SetCell(i, computer, kConnectionFailureText);
    return;
  }
  for (std::size_t i = 0; i < records.size(); ++i) {
    if (StopAsked(stop)) break;
    sink.SetCell(i, computer, RemoteText(registry, classes, records[i]));
  }
  registry.CloseKey(classes);
}

void CompareWithComputers(Registry& registry, const std::vector<ComparedRecord>& records,
                          const std::vector<std::string>& computers, const StopFlag& stop,
                          ComparisonSink& sink, std::size_t concurrent) {
  auto compare = [&](std::size_t k) {
    CompareWithComputer(registry, records, k, computers[k], stop, sink);
    sink.FitColumns();
  };
  if (concurrent <= 1) {
    for (std::size_t k = 0; k < computers.size() && !StopAsked(stop); ++k) compare(k);
    return;
  }
  AttemptSlots slots(concurrent);
  std::vector<std::thread> attempts;
  for (std::size_t k = 0; k < computers.size(); ++k) {
    slots.Acquire();
    if (StopAsked(stop)) {
      slots.Release();
      break;
    }
    try {
      attempts.emplace_back([&, k] {
        compare(k);
        slots.Release();
      });
    } catch (const std::system_error&) {
      // No thread to spare: this computer is compared here instead.
      compare(k);
      slots.Release();
    }
  }
  for (std::thread& attempt : attempts) attempt.join();
}

int CompareNoCase(const std::string& a, const std::string& b) {
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]);
    unsigned char y = static_cast<unsigned char>(b[i]);
    if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

std::vector<std::size_t> SortedByText(std::vector<std::pair<std::size_t, std::string>> rows) {
  std::stable_sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) {
    return CompareNoCase(a.second, b.second) < 0;
  });
  std::vector<std::size_t> order;
  order.reserve(rows.size());
  for (const auto& row : rows) order.push_back(row.first);
  return order;
}

}  // namespace corvane
