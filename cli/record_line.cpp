#include "cli/record_line.h"

#include "platform/text.h"

namespace corvane {

namespace {

void AppendField(std::string& line, const std::string& field) {
  if (!line.empty()) line += ',';
  line += CsvField(field);
}

}  // namespace

std::string FormatRecordLine(const char* category, const CRegisteredObject& record) {
  std::string line;
  AppendField(line, category);
  AppendField(line, record.GetName());
  AppendField(line, record.clsid());
  AppendField(line, record.GetFilePath());
  AppendField(line, record.exists() ? "1" : "0");
  return line;
}

std::string FormatDependencyLine(const CFileObject& entry) {
  std::string line;
  AppendField(line, entry.module_name());
  AppendField(line, entry.GetFilePath());
  AppendField(line, FoundByText(entry.found_by()));
  AppendField(line, entry.delay_loaded() ? "delay" : "");
  return line;
}

int ParseCategoryOption(const std::string& text) {
  const char* const kOptions[] = {"controls", "dll", "exe"};
  for (int category = 0; category < 3; ++category)
    if (EqualsNoCase(text, kOptions[category])) return category;
  return -1;
}

}  // namespace corvane
