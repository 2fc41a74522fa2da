// corvane-cli: the catalogue from a console.
//   corvane-cli list        every class of the catalogue, category by category
//   corvane-cli find PATH   the class whose server file is PATH
//   corvane-cli deps PATH   the DLLs that PATH needs, directly or through other DLLs
//   corvane-cli remove ...  classes' registrations removed, backed up first
#include <cstdio>
#include <cstring>

#include <memory>
#include <vector>

#include "app/cli_remove.h"
#include "app/record_line.h"
#include "catalogue/dependency_walker.h"
#include "catalogue/object_kinds.h"
#include "catalogue/registry_scan.h"
#include "platform/console_notice.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_modules.h"
#include "platform/win32/win32_registry.h"

using namespace corvane;

namespace {

const char kUsage[] =
    "Usage: corvane-cli list\n"
    "       corvane-cli find PATH\n"
    "       corvane-cli deps PATH\n"
    "       corvane-cli remove CLSID... [--appid]\n"
    "       corvane-cli remove --misbehaved [--category controls|dll|exe] [--yes] [--appid]\n"
    "  list   prints every registered class: category, name, CLSID, server path, exists (1/0)\n"
    "  find   prints the class whose server file is PATH\n"
    "  deps   prints each DLL that PATH needs, depth first: name, found path (empty if missing)\n"
    "  remove deletes the classes' keys after writing a backup that regedit /s restores;\n"
    "         prints the backup file and the keys deleted; the AppID key only with --appid;\n"
    "         --misbehaved lists the classes whose server file is missing, removes them with --yes\n";

const char* CategoryOf(const CRegisteredObject& record) {
  if (dynamic_cast<const CControlObject*>(&record)) return CategoryName(kControls);
  if (dynamic_cast<const CExeServerObject*>(&record)) return CategoryName(kExeServers);
  return CategoryName(kDllServers);
}

}  // namespace

int main(int argc, char** argv) {
  Win32Registry registry;
  Win32Files files;
  Win32Modules modules;
  ConsoleNotice notice;
  const Platform platform{registry, files, modules, notice};

  if (argc >= 2 && std::strcmp(argv[1], "remove") == 0) {
    const int status = RunRemoveCommand(argc - 2, argv + 2);
    if (status != 2) return status;
  } else if (argc == 2 && std::strcmp(argv[1], "list") == 0) {
    CObjectLists lists;
    ScanRegistry(platform, lists);
    for (int category = 0; category < kCategoryCount; ++category)
      for (const auto& record : lists.list(static_cast<Category>(category)))
        std::printf("%s\n", FormatRecordLine(CategoryName(category), *record).c_str());
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
    for (const auto& entry : list)
      std::printf("\"%s\",\"%s\"\n", entry->module_name().c_str(), entry->GetFilePath().c_str());
    return 0;
  }
  std::fputs(kUsage, stderr);
  return 2;
}
