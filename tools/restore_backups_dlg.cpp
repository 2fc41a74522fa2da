#include "tools/restore_backups_dlg.h"

#include <commctrl.h>

#include "app/gui_platform.h"
#include "app/shell_tools.h"
#include "catalogue/class_removal.h"
#include "resources/resource.h"
#include "widgets/dialog_layout.h"

namespace {

const DWORD kHelpContext = 106;
const char* const kColumns[] = {"Date and Time", "ProgID", "CLSID", "Server File", "File Present"};

}  // namespace

CRestoreBackupsDlg::CRestoreBackupsDlg(CWnd* parent) : CDialog(IDD_RESTORE_BACKUPS, parent) {}

CRestoreBackupsDlg::~CRestoreBackupsDlg() { DestroyWindow(); }

BOOL CRestoreBackupsDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  list_.SubclassDlgItem(IDC_RESTORE_LIST, this);
  list_.SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  for (int column = 0; column < 5; ++column) list_.InsertColumn(column, kColumns[column]);
  Fill();
  ready_ = true;
  return TRUE;
}

void CRestoreBackupsDlg::Fill() {
  backups_ = corvane::ListBackups(GuiPlatform());
  list_.SendMessage(LVM_DELETEALLITEMS);
  for (std::size_t i = 0; i < backups_.size(); ++i) {
    const corvane::BackupEntry& entry = backups_[i];
    const int row = list_.InsertItem(static_cast<int>(i), entry.when);
    list_.SetItemText(row, 1, entry.error.empty() ? entry.prog_id : "(unreadable) " + entry.error);
    list_.SetItemText(row, 2, entry.clsid);
    list_.SetItemText(row, 3, entry.server);
    list_.SetItemText(row, 4, entry.error.empty() ? (entry.server_present ? "Yes" : "No") : "");
  }
  if (!backups_.empty()) {
    LVITEMA item{};
    item.stateMask = item.state = LVIS_SELECTED | LVIS_FOCUSED;
    list_.SendMessage(LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&item));
  }
  for (int column = 0; column < 5; ++column)
    list_.SendMessage(LVM_SETCOLUMNWIDTH, column, LVSCW_AUTOSIZE_USEHEADER);
  UpdateButtons();
}

const corvane::BackupEntry* CRestoreBackupsDlg::Selected() const {
  const int row = list_.GetNextItem(-1, LVNI_SELECTED);
  return row >= 0 && row < static_cast<int>(backups_.size()) ? &backups_[row] : nullptr;
}

void CRestoreBackupsDlg::UpdateButtons() {
  const corvane::BackupEntry* entry = Selected();
  EnableWindow(GetDlgItem(IDC_RESTORE_RESTORE), entry != nullptr && entry->error.empty());
  EnableWindow(GetDlgItem(IDC_RESTORE_DELETE), entry != nullptr);
}

void CRestoreBackupsDlg::OnRestore() {
  const corvane::BackupEntry* entry = Selected();
  if (entry == nullptr) return;
  const corvane::Platform& platform = GuiPlatform();
  corvane::RestoreResult result;
  {
    corvane::WaitCursor wait(platform.notice);
    result = corvane::RestoreBackup(platform, entry->path, false);
  }
  if (result.status == corvane::RestoreStatus::kRegisteredAgain) {
    if (!platform.notice.AskYesNo(result.message +
                                      "\n\nBack up the current registration, remove it and "
                                      "restore this backup in its place?",
                                  "Restore Removed Registrations"))
      return;
    corvane::WaitCursor wait(platform.notice);
    result = corvane::RestoreBackup(platform, entry->path, true);
  }
  if (result.status == corvane::RestoreStatus::kRestored) restored_ = true;
  if (!result.message.empty()) platform.notice.ShowMessageBox(result.message);
  Fill();
}

void CRestoreBackupsDlg::OnDelete() {
  const corvane::BackupEntry* entry = Selected();
  if (entry == nullptr) return;
  const corvane::Platform& platform = GuiPlatform();
  if (!platform.notice.AskYesNo("Delete the backup " + entry->path +
                                    "?\n\nThe removed registration can't be restored without it.",
                                "Delete Backup"))
    return;
  if (!platform.files.EraseFile(entry->path.c_str()))
    platform.notice.ShowMessageBox("The backup " + entry->path + " could not be deleted.");
  Fill();
}

LRESULT CRestoreBackupsDlg::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COMMAND && HIWORD(wp) == BN_CLICKED) {
    switch (LOWORD(wp)) {
      case IDC_RESTORE_RESTORE:
        OnRestore();
        return 0;
      case IDC_RESTORE_DELETE:
        OnDelete();
        return 0;
      case IDC_RESTORE_FOLDER:
        ShellOpen(corvane::BackupFolderPath(GuiPlatform().files));
        return 0;
      case IDC_RESTORE_HELP:
        HelpOnDialog(kHelpContext);
        return 0;
      default:
        break;
    }
  }
  if (msg == WM_NOTIFY) {
    const auto* header = reinterpret_cast<const NMHDR*>(lp);
    if (header->idFrom == IDC_RESTORE_LIST && header->code == LVN_ITEMCHANGED) UpdateButtons();
    if (header->idFrom == IDC_RESTORE_LIST && header->code == NM_DBLCLK) OnRestore();
  }
  if (msg == WM_SIZE && ready_ && wp != SIZE_MINIMIZED && LOWORD(lp) > 0 && HIWORD(lp) > 0)
    ApplyLayoutRules(hwnd_, corvane::RestoreBackupsLayoutRules());
  return CDialog::WindowProc(msg, wp, lp);
}
