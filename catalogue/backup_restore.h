// Putting removed registrations back from their backup files, through the strict reader and
// the wide registry calls, and the list of the backups there are.
#pragma once
#include <string>
#include <vector>

#include "platform/platform.h"

namespace corvane {

// One backup file as the restore list shows it.
struct BackupEntry {
  std::string path;
  std::string when;      // "YYYY-MM-DD hh:mm:ss" from the file name
  std::string prog_id;   // what the class key held, as text for display
  std::string clsid;
  std::string server;
  bool server_present = false;
  std::string error;     // why the file can't be restored; empty when it reads
};

// The backups of the backup folder, newest first.
std::vector<BackupEntry> ListBackups(const Platform& platform);

enum class RestoreStatus { kRestored, kUnreadable, kRegisteredAgain, kFailed };

struct RestoreResult {
  RestoreStatus status = RestoreStatus::kFailed;
  std::string message;  // what to tell the user
};

// Writes the keys of the backup file back. When a key the file begins a tree with is there
// again, nothing is written unless replace_current: then those keys are backed up to a new
// file and deleted first. A restore that fails part way deletes what it created.
RestoreResult RestoreBackup(const Platform& platform, const std::string& path,
                            bool replace_current);

}  // namespace corvane
