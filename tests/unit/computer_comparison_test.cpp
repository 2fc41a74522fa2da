#include "tools/computer_comparison.h"

#include <gtest/gtest.h>

#include <map>
#include <mutex>
#include <thread>

#include "catalogue/object_kinds.h"
#include "memory_platform.h"
#include "tools/comparison_report.h"

namespace corvane {
namespace {

using Texts = std::vector<std::string>;

// The results list as the dialog keeps it: rows that know their record, in the order shown.
class TableSink : public ComparisonSink {
 public:
  TableSink(std::size_t records, std::size_t computers) {
    for (std::size_t i = 0; i < records; ++i) rows_.push_back({i, Texts(computers)});
  }
  void SetCell(std::size_t record, std::size_t computer, const std::string& text) override {
    std::lock_guard<std::mutex> hold(lock_);
    for (Row& row : rows_)
      if (row.record == record) row.cells.at(computer) = text;
    writes_.push_back({record, computer, text});
    if (on_write) on_write(record, computer, text);
  }
  void FitColumns() override {}

  // Sorts the shown rows by a computer's column, as a click on its header does.
  void SortBy(std::size_t computer) {
    std::lock_guard<std::mutex> hold(lock_);
    std::vector<std::pair<std::size_t, std::string>> keyed;
    for (const Row& row : rows_) keyed.push_back({row.record, row.cells[computer]});
    std::map<std::size_t, Row> by_record;
    for (const Row& row : rows_) by_record[row.record] = row;
    rows_.clear();
    for (std::size_t record : SortedByText(keyed)) rows_.push_back(by_record[record]);
  }
  Texts Cells(std::size_t record) {
    std::lock_guard<std::mutex> hold(lock_);
    for (const Row& row : rows_)
      if (row.record == record) return row.cells;
    return {};
  }

  struct Write {
    std::size_t record, computer;
    std::string text;
  };
  std::vector<Write> writes_;
  std::function<void(std::size_t, std::size_t, const std::string&)> on_write;

 private:
  struct Row {
    std::size_t record;
    Texts cells;
  };
  std::mutex lock_;
  std::vector<Row> rows_;
};

const std::vector<ComparedRecord> kRecords = {
    {"{A}", "1.0"},  // same version there
    {"{B}", ""},     // no "Version" on either side
    {"{C}", "2.0"},  // no "Version" there
    {"{D}", "1.0"},  // not registered there
    {"{E}", "3.0"},  // another version there
};

void AddRemoteClass(MemoryRegistry& registry, RegKey machine, const std::string& clsid,
                    const char* version) {
  const std::string key = "Software\\Classes\\CLSID\\" + clsid;
  registry.AddKey(machine, key);
  if (version != nullptr) registry.SetString(machine, key + "\\Version", "", version);
}

struct Network {
  MemoryRegistry registry;
  Network() {
    const RegKey alpha = registry.AddComputer("ALPHA");
    AddRemoteClass(registry, alpha, "{A}", "1.0");
    AddRemoteClass(registry, alpha, "{b}", nullptr);  // key names are case-blind
    AddRemoteClass(registry, alpha, "{C}", nullptr);
    AddRemoteClass(registry, alpha, "{E}", "3.1");
    const RegKey locked = registry.AddComputer("LOCKED");
    registry.AddKey(locked, "Software\\Classes");
    registry.RefuseOpen("\\\\LOCKED\\HKEY_LOCAL_MACHINE\\Software\\Classes");
  }
};

TEST(ComputerComparisonTest, CellTextsPerRecordAndComputer) {
  for (std::size_t concurrent : {std::size_t{1}, kConcurrentConnections}) {
    SCOPED_TRACE(concurrent);
    Network network;
    TableSink sink(kRecords.size(), 3);
    StopFlag stop{0};
    CompareWithComputers(network.registry, kRecords, {"alpha", "GHOST", "LOCKED"}, stop, sink,
                         concurrent);
    const Texts alpha = {"Registered", "Registered", "Version ", "Missing!", "Version 3.1"};
    const std::string failure = "Connection Failure";
    for (std::size_t i = 0; i < kRecords.size(); ++i) {
      const Texts cells = sink.Cells(i);
      EXPECT_EQ(cells[0], alpha[i]) << i;
      EXPECT_EQ(cells[1], failure) << i;  // no such computer
      EXPECT_EQ(cells[2], failure) << i;  // its classes key refused
    }
    // Each column starts with "Connecting..." in row 0.
    for (std::size_t k = 0; k < 3; ++k) {
      for (const TableSink::Write& write : sink.writes_) {
        if (write.computer != k) continue;
        EXPECT_EQ(write.record, 0u);
        EXPECT_EQ(write.text, "Connecting...");
        break;
      }
    }
    EXPECT_EQ(network.registry.OpenHandleCount(), 0u);
  }
}

TEST(ComputerComparisonTest, LocalVersionsAreReadFromTheRecords) {
  MemoryPlatform memory;
  memory.AddClass("{A}", "InprocServer32", "a.dll");
  memory.AddClass("{A}", "Version", "1.2");
  memory.AddClass("{B}", "InprocServer32", "b.dll");
  CControlObject a(memory.platform, "{A}"), b(memory.platform, "{B}");
  const std::vector<ComparedRecord> compared = ComparedRecords({&a, &b});
  ASSERT_EQ(compared.size(), 2u);
  EXPECT_EQ(compared[0].clsid, "{A}");
  EXPECT_EQ(compared[0].local_version, "1.2");
  EXPECT_EQ(compared[1].local_version, "");
}

TEST(ComputerComparisonTest, StoppingEndsBeforeTheNextRecordAndStartsNoFurtherComputer) {
  Network network;
  TableSink sink(kRecords.size(), 4);
  StopFlag stop{0};
  // The user closes the dialog while the third computer's second record is being read.
  sink.on_write = [&stop](std::size_t record, std::size_t computer, const std::string&) {
    if (computer == 2 && record == 1) stop.fetch_add(1);
  };
  CompareWithComputers(network.registry, kRecords, {"ALPHA", "GHOST", "ALPHA", "ALPHA"}, stop,
                       sink, 1);
  EXPECT_EQ(sink.Cells(1)[2], "Registered");
  EXPECT_EQ(sink.Cells(2)[2], "");
  for (std::size_t i = 0; i < kRecords.size(); ++i) EXPECT_EQ(sink.Cells(i)[3], "") << i;
  EXPECT_EQ(network.registry.OpenHandleCount(), 0u);
}

TEST(ComputerComparisonTest, SortingWhileResultsArriveKeepsEachResultInItsRecordsRow) {
  Network network;
  network.registry.set_connect_delay_ms(2);
  const std::vector<std::string> computers = {"ALPHA", "GHOST", "ALPHA", "LOCKED", "ALPHA",
                                              "GHOST", "ALPHA", "ALPHA", "LOCKED", "ALPHA"};
  TableSink sink(kRecords.size(), computers.size());
  int sorts = 0;
  StopFlag stop{0};
  std::thread clicks([&] {
    for (int i = 0; i < 200; ++i) {
      sink.SortBy(static_cast<std::size_t>(i) % computers.size());
      ++sorts;
      std::this_thread::yield();
    }
  });
  CompareWithComputers(network.registry, kRecords, computers, stop, sink);
  clicks.join();
  sink.SortBy(0);

  const Texts alpha = {"Registered", "Registered", "Version ", "Missing!", "Version 3.1"};
  for (std::size_t i = 0; i < kRecords.size(); ++i) {
    const Texts cells = sink.Cells(i);
    for (std::size_t k = 0; k < computers.size(); ++k)
      EXPECT_EQ(cells[k], computers[k] == "ALPHA" ? alpha[i] : "Connection Failure")
          << "record " << i << " computer " << k;
  }
  EXPECT_EQ(sorts, 200);
}

TEST(ComputerComparisonTest, AtMostEightConnectionsAtATime) {
  MemoryRegistry registry;
  registry.set_connect_delay_ms(20);
  std::vector<std::string> computers;
  for (int i = 0; i < 24; ++i) computers.push_back("PC" + std::to_string(i));
  std::mutex lock;
  int running = 0, most = 0;
  class CountingSink : public ComparisonSink {
   public:
    CountingSink(std::mutex& lock, int& running, int& most)
        : lock_(lock), running_(running), most_(most) {}
    void SetCell(std::size_t, std::size_t, const std::string& text) override {
      std::lock_guard<std::mutex> hold(lock_);
      running_ += text == kConnectingText ? 1 : -1;
      most_ = std::max(most_, running_);
    }
    void FitColumns() override {}

   private:
    std::mutex& lock_;
    int& running_;
    int& most_;
  } sink(lock, running, most);
  StopFlag stop{0};
  CompareWithComputers(registry, {{"{A}", ""}}, computers, stop, sink);
  EXPECT_EQ(running, 0);
  EXPECT_LE(most, 8);
  EXPECT_GT(most, 1);
}

TEST(ComputerComparisonTest, SortingComparesBytesIgnoringAsciiCaseAndKeepsTies) {
  EXPECT_LT(CompareNoCase("alpha", "BETA"), 0);
  EXPECT_EQ(CompareNoCase("Version 1", "version 1"), 0);
  EXPECT_LT(CompareNoCase("Reg", "registered"), 0);
  // Letters compare as lower case: '_' (0x5F) comes before 'z' (0x7A), not after 'Z' (0x5A).
  EXPECT_LT(CompareNoCase("_", "Z"), 0);
  EXPECT_EQ(SortedByText({{0, "b"}, {1, "A"}, {2, "B"}, {3, "a"}}),
            (std::vector<std::size_t>{1, 3, 0, 2}));
}

TEST(ComparisonReportTest, ExactTextWithColoursAndEscaping) {
  ReportPageInfo info{"Controls", "HOST", "Monday, December 07, 2026", "C:\\app",
                      "http://www.tessaline.example/", ""};
  const std::string report =
      ComparisonReport(info, {"ALPHA", "<B&B>"},
                       {{"Missing.Control", "Version 7", "Missing!", "Version 2<3"},
                        {"a\"b", "", "Registered", "Connection Failure"}});
  const std::string head = MakeReportPage(ReportKind::kComparison, info).head;
  const std::string cell = "<td><font size=2 face=Verdana";
  const std::string th = "<td bgcolor=#F8BE10><font size=2 face=Verdana color=#FFFFFF><b>";
  EXPECT_EQ(report,
            head + "<table border=1 cellspacing=0 cellpadding=3>\n<tr>\n" +
                th + "Controls</b></font></td>\n" +
                th + "Local Version</b></font></td>\n" +
                th + "ALPHA</b></font></td>\n" +
                th + "&lt;B&amp;B&gt;</b></font></td>\n"
                "</tr>\n<tr>\n" +
                cell + ">Missing.Control</font></td>\n" +
                cell + " color=#008000>Version 7</font></td>\n" +
                cell + " color=#FF0000>Missing!</font></td>\n" +
                cell + " color=#008000>Version 2&lt;3</font></td>\n"
                "</tr>\n<tr>\n" +
                cell + ">a&quot;b</font></td>\n" +
                cell + ">&nbsp</font></td>\n" +
                cell + ">Registered</font></td>\n" +
                cell + ">Connection Failure</font></td>\n"
                "</tr>\n</table>\n"
                "Visit Tessaline at: <a href=\"http://www.tessaline.example/\">"
                "http://www.tessaline.example/</a>\n"
                "</font></small></p>\n</body>\n</html>\n");

  const std::string empty = ComparisonReport(info, {}, {});
  EXPECT_EQ(empty, head + "<table border=1 cellspacing=0 cellpadding=3>\n<tr>\n" + th +
                       "Controls</b></font></td>\n" + th +
                       "Local Version</b></font></td>\n</tr>\n</table>\n" +
                       MakeReportPage(ReportKind::kComparison, info).foot);
}

}  // namespace
}  // namespace corvane
