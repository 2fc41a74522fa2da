#include "app/unregistered_dlg.h"

#include "framework/win_app.h"
#include "resources/resource.h"

CUnregisteredDlg::CUnregisteredDlg(const std::string& name, const std::string& path,
                                   CWnd* parent)
    : CDialog(IDD_UNREGISTERED, parent), name_(name), path_(path) {
  MapCommand(IDC_DELETE_FILE, [this] { OnDeleteFile(); });
}

BOOL CUnregisteredDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SetDlgItemTextA(hwnd_, IDC_UNREGISTERED_NAME, name_.c_str());
  SetDlgItemTextA(hwnd_, IDC_UNREGISTERED_PATH, path_.c_str());
  return TRUE;
}

void CUnregisteredDlg::OnDeleteFile() {
  std::string question = "Are you sure you want to delete " + path_ + " ?";
  if (MessageBoxA(hwnd_, question.c_str(), "Confirm File Delete", MB_YESNO | MB_ICONQUESTION) !=
      IDYES)
    return;
  if (!DeleteFileA(path_.c_str()))
    AppMessageBox("Failed to delete file " + path_ +
                  "\n\nThe file may be in use by another program.");
  EndDialog(IDOK);
}
