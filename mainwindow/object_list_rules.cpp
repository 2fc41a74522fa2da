#include "mainwindow/object_list_rules.h"

#include <cstdio>

namespace corvane {

std::string RecordLabel(const CRegisteredObject& record, int display_in_list) {
  switch (display_in_list) {
    case kLabelClsid:
      return record.clsid();
    case kLabelFilePath:
      return record.GetFilePath();
    case kLabelTypeLib:
      return record.GetTypeLibName();
    default:
      return record.GetName();
  }
}

int RecordImage(const CRegisteredObject& record, int category) {
  return record.exists() ? category : kImageMisbehaved;
}

bool RecordShown(const CRegisteredObject& record, int display_installed, int display_missing) {
  return record.exists() ? display_installed != 0 : display_missing != 0;
}

std::string ItemCountText(long count) {
  char text[32];
  std::snprintf(text, sizeof text, "Items: %ld", count);
  return text;
}

}  // namespace corvane
