// What a removal command adds when it removes several records: one question beforehand, a
// progress window with Cancel, and one summary afterwards in place of one per record.
#pragma once
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/registered_object.h"

class CWnd;
class CRemovalProgressWnd;

// Asks once, with the count and the list on request, when more than one of the records is
// misbehaved (those are removed without a question of their own). True to go on.
bool ConfirmBulkRemoval(const std::vector<corvane::CRegisteredObject*>& records, CWnd* owner);

class CBulkRemoval {
 public:
  // For a single record (total 1) nothing is added. owner is disabled while the window shows.
  CBulkRemoval(CWnd* owner, std::size_t total);
  ~CBulkRemoval();
  CBulkRemoval(const CBulkRemoval&) = delete;
  CBulkRemoval& operator=(const CBulkRemoval&) = delete;

  // Before each record: shows its name and handles the window; false once cancelled.
  bool Next(const std::string& name);
  // A record was removed, with its backup written to backup_path.
  void Removed(const std::string& backup_path);
  // Closes the window and shows the summary the user chose for removals.
  void Finish();

 private:
  std::unique_ptr<CRemovalProgressWnd> progress_;
  std::size_t total_;
  std::size_t started_ = 0;
  std::size_t removed_ = 0;
  std::string backup_folder_;
  int after_remove_ = 0;
  bool active_ = false;
};
