#include "mainwindow/bulk_removal.h"

#include <windows.h>

#include "app/message_dlg.h"
#include "app/settings.h"
#include "mainwindow/bulk_removal_dlg.h"
#include "mainwindow/removal_progress_wnd.h"

using corvane::CRegisteredObject;

bool ConfirmBulkRemoval(const std::vector<CRegisteredObject*>& records, CWnd* owner) {
  std::vector<std::string> lines;
  for (const CRegisteredObject* record : records) {
    if (record->exists() == 0) lines.push_back(record->GetName() + " - " + record->GetFilePath());
  }
  if (lines.size() < 2) return true;
  std::string text = "Remove the registrations of the " + std::to_string(lines.size()) +
                     " misbehaved classes selected from the Registry?\n\nTheir server files were "
                     "not found. A backup of each class is written before its keys are deleted.";
  const std::size_t asked = records.size() - lines.size();
  if (asked > 0)
    text += "\n\nThe " + std::to_string(asked) +
            " properly registered classes selected are asked about one by one.";
  CBulkRemovalDlg dialog(text, std::move(lines), owner);
  return dialog.DoModal() == IDYES;
}

CBulkRemoval::CBulkRemoval(CWnd* owner, std::size_t total) : total_(total) {
  if (total < 2) return;
  active_ = true;
  // Each record's own summary is held back for the one at the end.
  after_remove_ = corvane::AppSettings().after_remove;
  corvane::AppSettings().after_remove = kNotifyNone;
  progress_ = std::make_unique<CRemovalProgressWnd>();
  progress_->Open(owner, static_cast<int>(total));
}

CBulkRemoval::~CBulkRemoval() {
  if (progress_) progress_->Close();
  if (active_) corvane::AppSettings().after_remove = after_remove_;
}

bool CBulkRemoval::Next(const std::string& name) {
  if (!active_) return true;
  return progress_->Step(static_cast<int>(started_++), name);
}

void CBulkRemoval::Removed(const std::string& backup_path) {
  ++removed_;
  const std::size_t slash = backup_path.rfind('\\');
  if (slash != std::string::npos) backup_folder_ = backup_path.substr(0, slash);
}

void CBulkRemoval::Finish() {
  if (!active_) return;
  const bool cancelled = progress_->cancelled();
  progress_->Close();
  corvane::AppSettings().after_remove = after_remove_;
  active_ = false;
  std::string text;
  if (cancelled) {
    text = "Removal cancelled: " + std::to_string(removed_) + " of the " +
           std::to_string(total_) +
           " selected classes were removed from the Registry; the others were left unchanged.";
  } else if (removed_ > 0) {
    text = std::to_string(removed_) + (removed_ == 1 ? " class was" : " classes were") +
           " removed from the Registry.";
  } else {
    return;
  }
  if (removed_ > 0 && !backup_folder_.empty())
    text += "\n\nA backup of each removed class was written to\n" + backup_folder_;
  NotifyAction(text, after_remove_);
}
