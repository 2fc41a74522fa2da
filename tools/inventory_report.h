// The inventory report's three writers: formatted HTML, plain HTML and comma-delimited text.
#pragma once
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "catalogue/registered_object.h"
#include "tools/report_page.h"

namespace corvane {

enum ReportFormat { kReportFormattedHtml = 0, kReportPlainHtml = 1, kReportText = 2 };

struct InventoryChoices {
  int format = kReportFormattedHtml;
  bool well_behaved = true;   // records whose server file exists
  bool misbehaved = true;     // records whose server file is missing
  bool dependencies = false;  // HTML formats only
  std::vector<int> attributes;  // attribute indexes, in the order they are written
  std::string view_column;  // comma-delimited text: a first field of each record ("32", "64")
  bool header = true;       // comma-delimited text: the lines before the records
};

// The registry view a report of the registry's records describes, for its header: empty where
// there is only one.
std::string ReportViewTitle(const Registry& registry);

// The report's text, lines ending in "\n"; progress(i) after record i, included or not.
// Version information is loaded into each included record.
std::string WriteInventoryReport(const Platform& platform,
                                 const std::vector<CRegisteredObject*>& records,
                                 const InventoryChoices& choices, const ReportPageInfo& info,
                                 const std::function<void(std::size_t)>& progress = nullptr);

// What Remove does to the attribute list: the selected entries go from the highest down,
// but the last entry never does.
struct AttributeRemoval {
  std::vector<int> deleted;    // list indexes, in the order they are deleted
  bool last_one_left = false;  // a deletion was refused: the beep and the message are due
  int select = -1;             // the entry to select afterwards, -1 for none
};
AttributeRemoval PlanAttributeRemoval(int count, std::vector<int> selected);

// A comma-delimited cell that a spreadsheet can't take for a formula: a value beginning with
// "=", "+", "-", "@", TAB or CR gets a leading "'".
std::string SpreadsheetSafe(const std::string& value);

// The file extension of a format, with its dot: ".htm" or ".txt".
const char* ReportExtension(int format);

// Every "\n" as CR LF, as a text-mode file would hold it; a CR LF stays as it is.
std::string ToCrLf(const std::string& text);

}  // namespace corvane
