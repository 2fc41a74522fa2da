// corvane-cli: the catalogue from a console.
//   corvane-cli list        every class of the catalogue, category by category
//   corvane-cli find PATH   the class whose server file is PATH
//   corvane-cli deps PATH   the DLLs that PATH needs, directly or through other DLLs
//   corvane-cli missing     the classes whose server needs a DLL that can't be found
//   corvane-cli report      a category's inventory report
//   corvane-cli remove ...  classes' registrations removed, backed up first
//   corvane-cli typelib X   the type library of a class or a file
//   corvane-cli restore ... removed registrations put back from their backups
// Each takes --view 32|64 (the registry view; the running build's by default); list, missing
// and report also --view both, which puts the view in a first column.
#include <cstdio>
#include <cstring>

#include <exception>
#include <memory>
#include <vector>

#include "corvane_version.h"
#include "catalogue/attributes.h"
#include "cli/cli_missing.h"
#include "cli/cli_report.h"
#include "cli/cli_views.h"
#include "cli/cli_remove.h"
#include "cli/cli_restore.h"
#include "cli/cli_typelib.h"
#include "cli/record_line.h"
#include "catalogue/dependency_walker.h"
#include "catalogue/object_kinds.h"
#include "catalogue/registry_scan.h"
#include "platform/console_notice.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_modules.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_type_libraries.h"
#include "platform/text.h"

using namespace corvane;

namespace {

const char kUsage[] =
    "Usage: corvane-cli --version\n"
    "       corvane-cli list [--typelib-status]\n"
    "       corvane-cli find PATH\n"
    "       corvane-cli deps PATH\n"
    "       corvane-cli missing [--category controls|dll|exe]\n"
    "       corvane-cli report --format html|plain|csv [--category controls|dll|exe] [--well]\n"
    "                          [--mis] [--deps] [--attributes LIST] [--out FILE]\n"
    "       corvane-cli remove CLSID... [--appid]\n"
    "       corvane-cli remove --misbehaved [--category controls|dll|exe] [--yes] [--appid]\n"
    "       corvane-cli typelib CLSID|FILE [--idl]\n"
    "       corvane-cli restore FILE... [--replace] | --list | --last N [--replace]\n"
    "  every command takes --view 32|64, the registry view of 64-bit Windows (default: this\n"
    "  program's own); list, missing and report take --view both, which adds a first column\n"
    "  with 32 or 64 (a report then only as --format csv)\n"
    "  list   prints every registered class: category, name, CLSID, server path, exists (1/0)\n"
    "         and with --typelib-status the check of the type library the class names\n"
    "  find   prints the class whose server file is PATH\n"
    "  deps   prints each DLL that PATH needs, depth first: name, found path (empty if missing),\n"
    "         how it was found or why it is missing, \"delay\" when only delay-loaded\n"
    "  missing  prints each class whose server needs a DLL that can't be found, then those\n"
    "           DLLs indented (delay-loaded ones never count); exits 1 when there are any\n"
    "  report   writes the inventory report of a category (Controls when none is named) in\n"
    "           the object list's order; LIST is attribute labels or numbers 0-19, comma-separated\n"
    "  remove deletes the classes' keys after writing a backup that regedit /s restores;\n"
    "         prints the backup file and the keys deleted; the AppID key only with --appid;\n"
    "         --misbehaved lists the classes whose server file is missing, removes them with --yes\n"
    "         (the confirmation); Ctrl+C stops after the class being removed\n"
    "  typelib  prints the type library of a class (by its CLSID) or of a file as a tree, or\n"
    "           with --idl as IDL text; exits 1 when it is not registered or does not load\n"
    "  restore  writes removed registrations back from their backup files (--last N: the N\n"
    "           newest); refuses a class registered again unless --replace backs that up\n"
    "           first; --list prints each backup: time, ProgID, CLSID, server, exists, file\n";

const char* CategoryOf(const CRegisteredObject& record) {
  if (dynamic_cast<const CControlObject*>(&record)) return CategoryName(kControls);
  if (dynamic_cast<const CExeServerObject*>(&record)) return CategoryName(kExeServers);
  return CategoryName(kDllServers);
}

// Takes "--view 32|64|both" out of the arguments. False when it is given twice or names
// no view, or "both" for a command that shows one view only.
bool TakeViewOption(std::vector<char*>* args, CliViews* views) {
  bool given = false;
  for (std::size_t i = 2; i < args->size(); ++i) {
    if (std::strcmp((*args)[i], "--view") != 0) continue;
    if (given || i + 1 >= args->size()) return false;
    const std::string value = (*args)[i + 1];
    if (value == "32") {
      views->views = {RegistryView::k32};
    } else if (value == "64") {
      views->views = {RegistryView::k64};
    } else if (value == "both") {
      const std::string command = (*args)[1];
      if (command != "list" && command != "missing" && command != "report") return false;
      views->views = {RegistryView::k32, RegistryView::k64};
      views->column = true;
    } else {
      return false;
    }
    given = true;
    args->erase(args->begin() + static_cast<std::ptrdiff_t>(i),
                args->begin() + static_cast<std::ptrdiff_t>(i) + 2);
    --i;
  }
  return true;
}

int Run(int all_count, char** all_args) {
  Win32Registry registry;
  Win32Files files;
  Win32Modules modules;
  ConsoleNotice notice;
  Win32TypeLibraries type_libraries;
  const Platform platform{registry, files, modules, notice, &type_libraries};

  std::vector<char*> args(all_args, all_args + all_count);
  CliViews views;
  if (!TakeViewOption(&args, &views)) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  const int argc = static_cast<int>(args.size());
  char** argv = args.data();
  ChooseView(platform, views.views.front());

  if (argc >= 2 && std::strcmp(argv[1], "remove") == 0) {
    const int status = RunRemoveCommand(views.views.front(), argc - 2, argv + 2);
    if (status != 2) return status;
  } else if ((argc == 2 || (argc == 3 && std::strcmp(argv[2], "--typelib-status") == 0)) &&
             std::strcmp(argv[1], "list") == 0) {
    for (RegistryView view : views.views) {
      ChooseView(platform, view);
      CObjectLists lists;
      ScanRegistry(platform, lists);
      for (int category = 0; category < kCategoryCount; ++category) {
        for (const auto& record : lists.list(static_cast<Category>(category))) {
          std::string line = views.Column(view) + FormatRecordLine(CategoryName(category), *record);
          if (argc == 3) line += "," + CsvField(record->GetAttribute(kAttrTypeLibStatus));
          std::printf("%s\n", line.c_str());
        }
      }
    }
    return 0;
  }
  if (argc == 3 && std::strcmp(argv[1], "find") == 0 && argv[2][0] != '\0') {
    auto record = FindObjectByFile(platform, argv[2]);
    if (!record) {
      std::fprintf(stderr, "corvane-cli: no registered class has the server file %s\n", argv[2]);
      return 1;
    }
    std::printf("%s\n", FormatRecordLine(CategoryOf(*record), *record).c_str());
    return 0;
  }
  if (argc == 3 && std::strcmp(argv[1], "deps") == 0 && argv[2][0] != '\0') {
    std::vector<std::unique_ptr<CFileObject>> list;
    if (!GetFileDependencies(platform, argv[2], list)) {
      std::fprintf(stderr, "corvane-cli: %s can't be read as a PE file\n", argv[2]);
      return 1;
    }
    for (const auto& entry : list) std::printf("%s\n", FormatDependencyLine(*entry).c_str());
    return 0;
  }
  int result = 2;
  if (argc >= 2 && std::strcmp(argv[1], "missing") == 0)
    result = RunMissingCommand(platform, views, argc, argv);
  if (argc >= 2 && std::strcmp(argv[1], "report") == 0)
    result = RunReportCommand(platform, views, argc, argv);
  if (argc >= 2 && std::strcmp(argv[1], "typelib") == 0) result = RunTypeLibCommand(platform, argc, argv);
  if (argc >= 2 && std::strcmp(argv[1], "restore") == 0)
    result = RunRestoreCommand(platform, argc - 2, argv + 2);
  if (result != 2) return result;
  std::fputs(kUsage, stderr);
  return 2;
}

}  // namespace

// Whatever a file or the registry holds, the tool ends with a message, never an abort.
int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::printf("corvane-cli %s\n", CORVANE_VERSION_TEXT);
    return 0;
  }
  try {
    return Run(argc, argv);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "corvane-cli: %s\n", error.what());
    return 1;
  }
}
