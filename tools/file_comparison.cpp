#include "tools/file_comparison.h"

#include "catalogue/attributes.h"
#include "catalogue/object_kinds.h"

namespace corvane {

FileComparison CompareComFiles(const Platform& platform, const std::string& first_path,
                               const std::string& second_path) {
  WaitCursor wait(platform.notice);
  CComFileObject first(platform, first_path);
  CComFileObject second(platform, second_path);
  first.LoadVersionInfo();
  second.LoadVersionInfo();
  FileComparison comparison;
  for (int index = kAttrFileSize; index <= kAttrProductVersion; ++index) {
    ComparedAttribute row{index, AttributeLabel(index), first.GetAttribute(index),
                          second.GetAttribute(index), false};
    row.equal = row.first == row.second;
    if (!row.equal) comparison.identical = false;
    comparison.rows.push_back(row);
  }
  return comparison;
}

}  // namespace corvane
