#include "cli/cli_missing.h"

#include <cstdio>
#include <cstring>

#include "cli/record_line.h"
#include "catalogue/object_lists.h"
#include "catalogue/registry_scan.h"
#include "tools/missing_dependencies.h"

using namespace corvane;

int RunMissingCommand(const Platform& platform, const CliViews& views, int argc, char** argv) {
  // argv[1] is "missing".
  int only = -1;
  if (argc == 4 && std::strcmp(argv[2], "--category") == 0) {
    only = ParseCategoryOption(argv[3]);
    if (only < 0) return 2;
  } else if (argc != 2) {
    return 2;
  }
  int result = 0;
  for (RegistryView view : views.views) {
    ChooseView(platform, view);
    CObjectLists lists;
    ScanRegistry(platform, lists);
    // Found DLLs differ between the views: one search each.
    MissingDependencySearch search(platform.files, platform.modules);
    for (int category = 0; category < kCategoryCount; ++category) {
      if (only >= 0 && category != only) continue;
      for (const auto& record : lists.list(static_cast<Category>(category))) {
        if (!search.IsMissingDependency(*record)) continue;
        std::printf("%s%s\n", views.Column(view).c_str(),
                    FormatRecordLine(CategoryName(category), *record).c_str());
        for (const std::string& name : search.MissingOf(record->GetFilePath()))
          std::printf("    %s\n", name.c_str());
        result = 1;
      }
    }
  }
  return result;
}
