// The comparison of records' registrations with other computers: each computer's
// HKEY_LOCAL_MACHINE\Software\Classes is opened once and every record's class looked up there.
#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "catalogue/registered_object.h"
#include "platform/registry.h"

namespace corvane {

inline constexpr char kConnectingText[] = "Connecting...";
inline constexpr char kRegisteredText[] = "Registered";
inline constexpr char kVersionPrefix[] = "Version ";
inline constexpr char kMissingText[] = "Missing!";
inline constexpr char kConnectionFailureText[] = "Connection Failure";

// Connection attempts that run at once by default.
constexpr std::size_t kConcurrentConnections = 8;

// A record as the comparison reads it.
struct ComparedRecord {
  std::string clsid;
  std::string local_version;  // the local "Version" class value
};

// Reads each record's CLSID and local version (one registry read per record).
std::vector<ComparedRecord> ComparedRecords(const std::vector<CRegisteredObject*>& records);

// Where results go. Called from the worker and from connection threads, one computer per
// thread at a time; records are addressed by their index in the records array.
class ComparisonSink {
 public:
  virtual ~ComparisonSink() = default;
  virtual void SetCell(std::size_t record, std::size_t computer, const std::string& text) = 0;
  // After "Connecting..." and after each computer is done.
  virtual void FitColumns() = 0;
};

// The stop flag: 0 runs, 1 stops at the next check (before the next record or computer).
using StopFlag = std::atomic<std::int32_t>;

// Compares the records with one computer, column `computer`.
void CompareWithComputer(Registry& registry, const std::vector<ComparedRecord>& records,
                         std::size_t computer, const std::string& name, const StopFlag& stop,
                         ComparisonSink& sink);

// Compares with every computer in list order, up to `concurrent` at a time, each attempt on a
// thread of its own (1: one after the other on the calling thread). Returns when every
// attempt that was started has ended.
void CompareWithComputers(Registry& registry, const std::vector<ComparedRecord>& records,
                          const std::vector<std::string>& computers, const StopFlag& stop,
                          ComparisonSink& sink,
                          std::size_t concurrent = kConcurrentConnections);

// Byte by byte, ASCII letters without regard to case: <0, 0 or >0.
int CompareNoCase(const std::string& a, const std::string& b);

// The row order after sorting by a column: rows given as (record index, text of the column),
// returned as record indexes in ascending text order (ties keep their order).
std::vector<std::size_t> SortedByText(std::vector<std::pair<std::size_t, std::string>> rows);

}  // namespace corvane
