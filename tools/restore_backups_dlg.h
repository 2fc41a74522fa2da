// Restore Removed Registrations: the backups of removed classes, each put back through
// Corvane's own reader, deleted, or shown in their folder.
#pragma once
#include <string>
#include <vector>

#include "catalogue/backup_restore.h"
#include "framework/dialog.h"
#include "framework/list_ctrl.h"

class CRestoreBackupsDlg : public CDialog {
 public:
  explicit CRestoreBackupsDlg(CWnd* parent = nullptr);
  ~CRestoreBackupsDlg() override;

  CListCtrl& list() { return list_; }
  // Whether a class was restored, so that the catalogue is read again.
  bool restored() const { return restored_; }

 protected:
  BOOL OnInitDialog() override;
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void Fill();
  void UpdateButtons();
  const corvane::BackupEntry* Selected() const;
  void OnRestore();
  void OnDelete();

  std::vector<corvane::BackupEntry> backups_;
  CListCtrl list_;
  bool ready_ = false;
  bool restored_ = false;
};
