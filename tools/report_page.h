// The HTML page frame the inventory report and the comparison report share, and the escaping
// of the texts that go into their pages.
#pragma once
#include <ctime>
#include <string>

namespace corvane {

// The maker's web address, which the foot links to.
constexpr char kMakerSite[] = "http://www.tessaline.example/";

// Text from the registry or from files is data: "&", "<", ">" and '"' become entities.
std::string HtmlEscape(const std::string& text);

// The local date as the reports print it, for example "Monday, December 07, 2026".
std::string ReportDate(const std::tm& local);
// ReportDate of the current local date.
std::string TodayReportDate();

enum class ReportKind { kInventory, kComparison };

// What a page says about where and when it was made.
struct ReportPageInfo {
  std::string category;     // "Controls", "DLL Servers" or "EXE Servers"
  std::string computer;     // the local computer's name
  std::string date;         // ReportDate of today
  std::string current_dir;  // where vantic.gif lies, backslashes as the system gives them
  std::string site;         // the maker's web address
  std::string view;         // "32-bit Classes" or "64-bit Classes"; empty on 32-bit Windows
};

struct ReportPage {
  std::string head;  // from "<html>" to the line before the first record
  std::string foot;  // the link to the maker's site and the closing lines
};

// Every text of info is written HTML-escaped. The inventory page's count line comes before
// foot and belongs to its writer; the comparison page writes its table's end there.
ReportPage MakeReportPage(ReportKind kind, const ReportPageInfo& info);

}  // namespace corvane
