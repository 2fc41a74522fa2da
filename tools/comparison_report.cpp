#include "tools/comparison_report.h"

namespace corvane {

namespace {

const char kHeadBackground[] = "#F8BE10";
const char kHeadText[] = "#FFFFFF";

void Cell(std::string& out, const std::string& html, const char* background, const char* colour) {
  out += "<td";
  if (background != nullptr) out += std::string(" bgcolor=") + background;
  out += "><font size=2 face=Verdana";
  if (colour != nullptr) out += std::string(" color=") + colour;
  out += ">";
  out += html.empty() ? "&nbsp" : html;
  out += "</font></td>\n";
}

void HeadCell(std::string& out, const std::string& text) {
  Cell(out, "<b>" + HtmlEscape(text) + "</b>", kHeadBackground, kHeadText);
}

// Missing in red, another version in green.
const char* ResultColour(const std::string& text) {
  if (text.empty()) return nullptr;
  if (text[0] == 'M') return "#FF0000";
  if (text[0] == 'V') return "#008000";
  return nullptr;
}

}  // namespace

std::string ComparisonReport(const ReportPageInfo& info, const std::vector<std::string>& computers,
                             const std::vector<std::vector<std::string>>& rows) {
  const ReportPage page = MakeReportPage(ReportKind::kComparison, info);
  std::string out = page.head;
  out += "<table border=1 cellspacing=0 cellpadding=3>\n<tr>\n";
  HeadCell(out, info.category);
  HeadCell(out, "Local Version");
  for (const std::string& computer : computers) HeadCell(out, computer);
  out += "</tr>\n";
  for (const std::vector<std::string>& row : rows) {
    out += "<tr>\n";
    for (std::size_t column = 0; column < row.size(); ++column)
      Cell(out, HtmlEscape(row[column]), nullptr,
           column == 0 ? nullptr : ResultColour(row[column]));
    out += "</tr>\n";
  }
  out += "</table>\n";
  out += page.foot;
  return out;
}

}  // namespace corvane
