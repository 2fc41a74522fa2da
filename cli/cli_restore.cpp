#include "cli/cli_restore.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "catalogue/backup_restore.h"
#include "platform/text.h"

using namespace corvane;

int RunRestoreCommand(const Platform& platform, int count, char** args) {
  bool list = false, replace = false;
  long last = 0;
  std::vector<std::string> files;
  for (int i = 0; i < count; ++i) {
    const std::string word = args[i];
    if (word == "--list") {
      list = true;
    } else if (word == "--replace") {
      replace = true;
    } else if (word == "--last" && i + 1 < count && last == 0) {
      char* end = nullptr;
      last = std::strtol(args[++i], &end, 10);
      if (*end != '\0' || last <= 0 || last > 100000) return 2;
    } else if (word.empty() || word[0] == '-') {
      return 2;
    } else {
      files.push_back(word);
    }
  }
  const int modes = (list ? 1 : 0) + (last > 0 ? 1 : 0) + (files.empty() ? 0 : 1);
  if (modes != 1 || (list && replace)) return 2;

  if (list || last > 0) {
    const std::vector<BackupEntry> backups = ListBackups(platform);
    if (list) {
      for (const BackupEntry& entry : backups) {
        std::printf("%s,%s,%s,%s,%s,%s\n", CsvField(entry.when).c_str(),
                    CsvField(entry.prog_id).c_str(), CsvField(entry.clsid).c_str(),
                    CsvField(entry.server).c_str(), entry.server_present ? "1" : "0",
                    CsvField(entry.error.empty() ? entry.path : entry.error).c_str());
      }
      return 0;
    }
    for (std::size_t i = 0; i < backups.size() && i < static_cast<std::size_t>(last); ++i)
      files.push_back(backups[i].path);
    if (files.empty()) {
      std::fprintf(stderr, "corvane-cli: there are no backups to restore\n");
      return 1;
    }
  }
  int status = 0;
  for (const std::string& file : files) {
    const RestoreResult result = RestoreBackup(platform, file, replace);
    std::FILE* stream = result.status == RestoreStatus::kRestored ? stdout : stderr;
    std::fprintf(stream, "%s\n", result.message.c_str());
    if (result.status == RestoreStatus::kRegisteredAgain)
      std::fprintf(stderr, "(--replace backs up the current registration, then restores)\n");
    if (result.status != RestoreStatus::kRestored) status = 1;
  }
  return status;
}
