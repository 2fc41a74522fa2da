#include "cli/cli_report.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/record_line.h"
#include "catalogue/attributes.h"
#include "catalogue/object_lists.h"
#include "catalogue/registry_scan.h"
#include "mainwindow/object_list_rules.h"
#include "platform/text.h"
#include "platform/win32/text_file_mark.h"
#include "tools/inventory_report.h"

using namespace corvane;

namespace {

// A comma-separated list of attribute labels, column names or indexes, in the order given.
bool ParseAttributes(const std::string& list, std::vector<int>* attributes) {
  std::size_t start = 0;
  while (start <= list.size()) {
    std::size_t comma = list.find(',', start);
    if (comma == std::string::npos) comma = list.size();
    const std::string item = list.substr(start, comma - start);
    int found = -1;
    for (int index = 0; index < kAttributeCount && found < 0; ++index) {
      if (EqualsNoCase(item, AttributeLabel(index)) || EqualsNoCase(item, AttributeColumnName(index)) ||
          item == std::to_string(index))
        found = index;
    }
    if (found < 0) {
      std::fprintf(stderr, "corvane-cli: no attribute is called \"%s\"\n", item.c_str());
      return false;
    }
    attributes->push_back(found);
    start = comma + 1;
  }
  return !attributes->empty();
}

struct ReportArguments {
  InventoryChoices choices;
  int category = kControls;
  std::string out;
};

bool ParseArguments(int argc, char** argv, ReportArguments* args) {
  bool format_given = false;
  bool well = false;
  bool mis = false;
  for (int i = 2; i < argc; ++i) {
    const std::string option = argv[i];
    const bool has_value = i + 1 < argc;
    if (option == "--format" && has_value) {
      const std::string value = argv[++i];
      const char* const kNames[] = {"html", "plain", "csv"};
      const auto at = std::find(std::begin(kNames), std::end(kNames), value);
      if (at == std::end(kNames)) return false;
      args->choices.format = static_cast<int>(at - std::begin(kNames));
      format_given = true;
    } else if (option == "--category" && has_value) {
      args->category = ParseCategoryOption(argv[++i]);
      if (args->category < 0) return false;
    } else if (option == "--attributes" && has_value) {
      args->choices.attributes.clear();
      if (!ParseAttributes(argv[++i], &args->choices.attributes)) return false;
    } else if (option == "--out" && has_value && argv[i + 1][0] != '\0') {
      args->out = argv[++i];
    } else if (option == "--well") {
      well = true;
    } else if (option == "--mis") {
      mis = true;
    } else if (option == "--deps") {
      args->choices.dependencies = true;
    } else {
      return false;
    }
  }
  if (!format_given) return false;
  if (args->choices.dependencies && args->choices.format == kReportText) {
    std::fputs("corvane-cli: --deps is for the HTML formats only\n", stderr);
    return false;
  }
  // Neither kind named: both.
  args->choices.well_behaved = well || !mis;
  args->choices.misbehaved = mis || !well;
  if (args->choices.attributes.empty())
    for (int index = 0; index < kAttributeCount; ++index) args->choices.attributes.push_back(index);
  return true;
}

std::string ComputerName() {
  char name[256] = "";
  DWORD size = 255;
  return GetComputerNameA(name, &size) ? std::string(name) : std::string();
}

std::string CurrentDirectory() {
  char folder[MAX_PATH] = "";
  const DWORD length = GetCurrentDirectoryA(MAX_PATH, folder);
  return length > 0 && length < MAX_PATH ? std::string(folder) : std::string();
}

// One view's report: its records in the order the object list shows them with its default
// labels.
std::string ViewReport(const Platform& platform, const ReportArguments& args,
                       const InventoryChoices& choices) {
  CObjectLists lists;
  ScanRegistry(platform, lists);
  std::vector<std::pair<std::string, CRegisteredObject*>> listed;
  for (const auto& record : lists.list(static_cast<Category>(args.category)))
    listed.emplace_back(RecordLabel(*record, kLabelProgId), record.get());
  std::stable_sort(listed.begin(), listed.end(), [](const auto& a, const auto& b) {
    return lstrcmpiA(a.first.c_str(), b.first.c_str()) < 0;
  });
  std::vector<CRegisteredObject*> records;
  for (const auto& item : listed) records.push_back(item.second);

  const ReportPageInfo info{CategoryName(args.category), ComputerName(),     TodayReportDate(),
                            CurrentDirectory(),          kMakerSite,
                            ReportViewTitle(platform.registry)};
  return ToCrLf(WriteInventoryReport(platform, records, choices, info));
}

}  // namespace

int RunReportCommand(const Platform& platform, const CliViews& views, int argc, char** argv) {
  ReportArguments args;
  if (!ParseArguments(argc, argv, &args)) return 2;
  if (views.column && args.choices.format != kReportText) {
    std::fputs("corvane-cli: --view both is for --format csv; write one HTML report per view\n",
               stderr);
    return 2;
  }
  std::string bytes = TextFileMark();
  for (RegistryView view : views.views) {
    ChooseView(platform, view);
    InventoryChoices choices = args.choices;
    if (views.column) choices.view_column = ViewBits(view);
    choices.header = bytes.size() == TextFileMark().size();
    bytes += ViewReport(platform, args, choices);
  }
  FILE* out = stdout;
  if (!args.out.empty()) {
    out = std::fopen(args.out.c_str(), "wb");
    if (out == nullptr) {
      std::fprintf(stderr, "corvane-cli: %s can't be written\n", args.out.c_str());
      return 1;
    }
  } else {
    _setmode(_fileno(stdout), _O_BINARY);
  }
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
  const bool closed = out == stdout ? std::fflush(out) == 0 : std::fclose(out) == 0;
  if (!written || !closed) {
    std::fprintf(stderr, "corvane-cli: the report could not be written whole\n");
    return 1;
  }
  return 0;
}
