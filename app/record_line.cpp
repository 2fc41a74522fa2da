#include "app/record_line.h"

namespace corvane {

namespace {

void AppendField(std::string& line, const std::string& field) {
  if (!line.empty()) line += ',';
  line += '"';
  for (char c : field) {
    if (c == '"') line += '"';
    line += c;
  }
  line += '"';
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
  return line;
}

}  // namespace corvane
