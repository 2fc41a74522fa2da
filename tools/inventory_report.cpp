#include "tools/inventory_report.h"

#include <algorithm>
#include <memory>

#include "catalogue/attributes.h"
#include "catalogue/dependency_walker.h"
#include "platform/text.h"

namespace corvane {

namespace {

struct ListedDll {
  std::string name;
  std::string path;
  bool found;
  std::string how;  // how it was found, or why it is missing; and whether it is delay-loaded
};

// How a DLL was found (" (found by search path)"), why a DLL counts as missing when it is not
// simply nowhere (" (wrong bitness)"), and whether it is delay-loaded.
std::string DependencyNote(const CFileObject& entry) {
  std::vector<std::string> parts;
  if (entry.exists() == 1)
    parts.push_back(std::string("found by ") + FoundByText(entry.found_by()));
  else if (entry.found_by() != FoundBy::kNotFound)
    parts.push_back(FoundByText(entry.found_by()));
  if (entry.delay_loaded()) parts.push_back("delay-loaded");
  if (parts.empty()) return std::string();
  std::string note = " (" + parts[0];
  for (std::size_t i = 1; i < parts.size(); ++i) note += ", " + parts[i];
  return note + ")";
}

// False when the walker can't read the server file: then no dependency part is written.
bool ReadDependencies(const Platform& platform, const CRegisteredObject& record,
                      std::vector<ListedDll>* dependencies) {
  std::vector<std::unique_ptr<CFileObject>> list;
  if (!GetFileDependencies(platform, record.GetFilePath(), list)) return false;
  for (const auto& entry : list)
    dependencies->push_back({entry->module_name(), entry->GetFilePath(), entry->exists() == 1,
                             DependencyNote(*entry)});
  return true;
}

std::string FormattedRow(const std::string& label, const std::string& value) {
  return "<tr><td width=\"19%\" bgcolor=\"#FFFFFF\" height=18><font size=2 face=\"Verdana\"><b>" +
         HtmlEscape(label) + ": </b></font></td>" +
         "<td width=\"81%\" bgcolor=\"#FFFFFF\" height=18><font size=2 face=\"Verdana\">" +
         (value.empty() ? std::string("&nbsp") : HtmlEscape(value)) + "</font></td></tr>";
}

std::string FormattedRecord(const CRegisteredObject& record, const std::vector<int>& attributes,
                            const std::vector<ListedDll>* dependencies) {
  std::string out =
      "<table border=1 width=\"72%\" cellspacing=0 cellpadding=3 height=29>"
      "<tr><td width=\"100%\" colspan=2 bgcolor=\"#F8BE10\" height=1><font face=\"Verdana\" "
      "color=\"#FFFFFF\" size=2><b>" +
      HtmlEscape(record.GetAttribute(kAttrProgId)) + "</b></font></td></tr>";
  for (int index : attributes) out += FormattedRow(AttributeLabel(index), record.GetAttribute(index));
  if (dependencies != nullptr) {
    out += FormattedRow("Dependencies", "");
    for (const ListedDll& dll : *dependencies)
      out += FormattedRow(dll.name, (dll.found ? dll.path : std::string("Not Found!")) + dll.how);
  }
  return out + "</table>";
}

std::string PlainRecord(const CRegisteredObject& record, const std::vector<int>& attributes,
                        const std::vector<ListedDll>* dependencies) {
  std::string out;
  for (int index : attributes) {
    out += HtmlEscape(AttributeLabel(index)) + ": " + HtmlEscape(record.GetAttribute(index)) +
           "<BR>\n";
  }
  if (dependencies != nullptr) {
    out += "<strong>Dependencies: </strong><BR>\n";
    for (const ListedDll& dll : *dependencies) {
      out += HtmlEscape(dll.name) +
             (dll.found ? " Located at: " + HtmlEscape(dll.path + dll.how) + "<BR>\n"
                        : " was not found" + HtmlEscape(dll.how) + ".<BR>\n");
    }
  }
  return out;
}

std::string CsvLine(const std::vector<std::string>& fields) {
  std::string out;
  for (std::size_t i = 0; i < fields.size(); ++i)
    out += (i ? "," : "") + CsvField(SpreadsheetSafe(fields[i]));
  return out;
}

bool Included(const CRegisteredObject& record, const InventoryChoices& choices) {
  return record.exists() == 1 ? choices.well_behaved : choices.misbehaved;
}

}  // namespace

AttributeRemoval PlanAttributeRemoval(int count, std::vector<int> selected) {
  std::sort(selected.begin(), selected.end());
  AttributeRemoval removal;
  for (auto it = selected.rbegin(); it != selected.rend(); ++it) {
    if (*it < 0 || *it >= count) continue;
    if (count == 1) {
      removal.last_one_left = true;
      break;
    }
    removal.deleted.push_back(*it);
    --count;
  }
  if (!removal.deleted.empty()) removal.select = std::min(removal.deleted.back(), count - 1);
  return removal;
}

std::string SpreadsheetSafe(const std::string& value) {
  if (value.empty() || std::string("=+-@\t\r").find(value[0]) == std::string::npos) return value;
  return "'" + value;
}

const char* ReportExtension(int format) { return format == kReportText ? ".txt" : ".htm"; }

std::string ToCrLf(const std::string& text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
    out += text[i];
  }
  return out;
}

std::string ReportViewTitle(const Registry& registry) {
  return registry.HasTwoViews() ? ViewTitle(registry.view()) : std::string();
}

std::string WriteInventoryReport(const Platform& platform,
                                 const std::vector<CRegisteredObject*>& records,
                                 const InventoryChoices& choices, const ReportPageInfo& info,
                                 const std::function<void(std::size_t)>& progress) {
  const bool html = choices.format != kReportText;
  std::string out;
  const ReportPage page = MakeReportPage(ReportKind::kInventory, info);
  if (html) {
    out = page.head;
  } else if (choices.header) {
    std::vector<std::string> labels;
    if (!choices.view_column.empty()) labels.push_back("View");
    for (int index : choices.attributes) labels.push_back(AttributeColumnName(index));
    out = "; The file contains a list of " + info.category + " on the following machine: " +
          info.computer + "\n" + "; File was genearted on: " + info.date + "\n" +
          (info.view.empty() || !choices.view_column.empty()
               ? std::string()
               : "; Registry view: " + info.view + "\n") +
          "\n; Attribute Names\n" + CsvLine(labels) + "\n\n";
  }
  long written = 0;
  for (std::size_t i = 0; i < records.size(); ++i) {
    CRegisteredObject& record = *records[i];
    if (Included(record, choices)) {
      record.LoadVersionInfo();
      std::vector<ListedDll> dependencies;
      const bool with_dependencies = html && choices.dependencies && record.exists() == 1 &&
                                     ReadDependencies(platform, record, &dependencies);
      const std::vector<ListedDll>* part = with_dependencies ? &dependencies : nullptr;
      if (choices.format == kReportFormattedHtml) {
        out += FormattedRecord(record, choices.attributes, part) + "\n<BR>\n";
      } else if (choices.format == kReportPlainHtml) {
        out += PlainRecord(record, choices.attributes, part) + "\n<HR><BR>\n";
      } else {
        std::vector<std::string> values;
        if (!choices.view_column.empty()) values.push_back(choices.view_column);
        for (int index : choices.attributes) values.push_back(record.GetAttribute(index));
        out += CsvLine(values) + "\n";
      }
      ++written;
    }
    if (progress) progress(i);
  }
  if (html) {
    out += HtmlEscape(info.category) + " Count: <strong>" + std::to_string(written) +
           "</strong><BR>\n" + page.foot;
  }
  return out;
}

}  // namespace corvane
