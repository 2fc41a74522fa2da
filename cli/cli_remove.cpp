#include "cli/cli_remove.h"

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "cli/record_line.h"
#include "catalogue/class_removal.h"
#include "catalogue/object_kinds.h"
#include "catalogue/registry_access.h"
#include "catalogue/registry_scan.h"
#include "platform/console_notice.h"
#include "platform/text.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_modules.h"
#include "platform/win32/win32_registry.h"

using namespace corvane;

namespace {

// The summary is printed from the log; messages still go to stderr.
class RemoveNotice : public ConsoleNotice {
 public:
  explicit RemoveNotice(bool remove_app_id) : ConsoleNotice(remove_app_id) {}
  void NotifyAction(const std::string&, int) override {}
};

struct Options {
  bool misbehaved = false;
  bool yes = false;
  bool app_id = false;
  int category = -1;  // all
  std::vector<std::string> clsids;
};

bool Parse(int count, char** args, Options* options) {
  bool category_given = false;
  for (int i = 0; i < count; ++i) {
    const std::string word = args[i];
    if (word == "--misbehaved") {
      options->misbehaved = true;
    } else if (word == "--yes") {
      options->yes = true;
    } else if (word == "--appid") {
      options->app_id = true;
    } else if (word == "--category" && i + 1 < count && !category_given) {
      const std::string name = args[++i];
      options->category = name == "controls" ? kControls
                          : name == "dll"    ? kDllServers
                          : name == "exe"    ? kExeServers
                                             : -1;
      if (options->category < 0) return false;
      category_given = true;
    } else if (word.empty() || word[0] == '-') {
      return false;
    } else {
      options->clsids.push_back(word);
    }
  }
  if (options->misbehaved) return options->clsids.empty();
  return !options->clsids.empty() && !options->yes && !category_given;
}

// The record of one registered class, of the kind its keys make it.
std::unique_ptr<CRegisteredObject> RecordOf(const Platform& platform, const std::string& clsid) {
  Registry& registry = platform.registry;
  if (!IsOwnKeyName(clsid) || !KeyOpens(registry, kClassesRoot, JoinKeyPath({"CLSID", clsid})))
    return nullptr;
  RegKey clsid_key = 0;
  if (registry.OpenKey(kClassesRoot, "CLSID", kKeyRead, &clsid_key) != kErrorSuccess) return nullptr;
  KeyCloser closer(registry, clsid_key);
  if (HasControlKey(registry, clsid_key, clsid))
    return std::make_unique<CControlObject>(platform, clsid.c_str());
  if (HasLocalServer32(registry, clsid_key, clsid))
    return std::make_unique<CExeServerObject>(platform, clsid.c_str());
  return std::make_unique<CDllServerObject>(platform, clsid.c_str());
}

std::atomic<bool> g_stop{false};

// Ctrl+C and Ctrl+Break ask the removal to stop after the class it is working on.
BOOL WINAPI OnConsoleStop(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
  g_stop = true;
  return TRUE;
}

// Removes one record's registration and prints the keys deleted and the backup file.
bool Remove(CRegisteredObject& record) {
  std::string log;
  const int removed = record.RemoveFromRegistry(log);
  if (!record.backup_path().empty()) std::printf("Backup: %s\n", record.backup_path().c_str());
  if (log.compare(0, std::strlen(kRemovalLogHeader), kRemovalLogHeader) == 0)
    log.erase(0, std::strlen(kRemovalLogHeader));
  std::fputs(log.c_str(), stdout);
  if (!record.kept_note().empty()) std::printf("Kept:\n%s", record.kept_note().c_str());
  return removed != 0;
}

}  // namespace

int RunRemoveCommand(RegistryView view, int count, char** args) {
  Options options;
  if (!Parse(count, args, &options)) return 2;
  Win32Registry registry;
  Win32Files files;
  Win32Modules modules;
  RemoveNotice notice(options.app_id);
  const Platform platform{registry, files, modules, notice};
  ChooseView(platform, view);

  int status = 0;
  if (!options.misbehaved) {
    for (const std::string& clsid : options.clsids) {
      auto record = RecordOf(platform, clsid);
      if (!record) {
        std::fprintf(stderr, "corvane-cli: %s is not a registered class\n", clsid.c_str());
        status = 1;
      } else if (!Remove(*record)) {
        status = 1;
      }
    }
    return status;
  }

  CObjectLists lists;
  ScanRegistry(platform, lists);
  std::set<std::string> seen;  // a class can be in two categories; it is removed once
  std::vector<std::pair<int, CRegisteredObject*>> misbehaved;
  for (int category = 0; category < kCategoryCount; ++category) {
    if (options.category >= 0 && category != options.category) continue;
    for (const auto& record : lists.list(static_cast<Category>(category))) {
      if (record->exists() == 0 && seen.insert(ToUpper(record->clsid())).second)
        misbehaved.emplace_back(category, record.get());
    }
  }
  const int total = static_cast<int>(misbehaved.size());
  if (!options.yes) {
    for (const auto& [category, record] : misbehaved)
      std::printf("%s\n", FormatRecordLine(CategoryName(category), *record).c_str());
    std::fprintf(stderr, "%d misbehaved classes; nothing was removed (add --yes to remove them)\n",
                 total);
    return status;
  }
  // --yes is the confirmation; Ctrl+C stops before the next class, never inside one.
  if (total > 1)
    std::fprintf(stderr, "Removing %d misbehaved classes (Ctrl+C stops after the current one)\n",
                 total);
  g_stop = false;
  SetConsoleCtrlHandler(OnConsoleStop, TRUE);
  int done = 0;
  for (const auto& [category, record] : misbehaved) {
    if (g_stop) break;
    std::printf("%s\n", FormatRecordLine(CategoryName(category), *record).c_str());
    if (!Remove(*record)) status = 1;
    ++done;
    std::fflush(stdout);
  }
  SetConsoleCtrlHandler(OnConsoleStop, FALSE);
  if (done < total) {
    std::fprintf(stderr, "Stopped after %d of %d misbehaved classes; the others were left as they "
                 "were\n", done, total);
    status = 1;
  }
  return status;
}
