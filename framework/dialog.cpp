#include "framework/dialog.h"

#include "framework/win_app.h"

namespace {
CDialog* g_running_modal = nullptr;
}

CDialog* CDialog::RunningModal() { return g_running_modal; }

HWND DefaultOwnerWindow() {
  if (g_running_modal != nullptr && IsWindow(g_running_modal->GetSafeHwnd()))
    return g_running_modal->GetSafeHwnd();
  CWnd* main = AfxGetMainWnd();
  return main != nullptr ? main->GetSafeHwnd() : nullptr;
}

CDialog::CDialog(UINT template_id, CWnd* parent) : template_id_(template_id), parent_(parent) {}

// Everything reaches WindowProc through the binding; the dialog manager gets the defaults.
INT_PTR CALLBACK CDialog::DialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

HWND CDialog::OwnerWindow() const {
  return parent_ != nullptr ? parent_->GetSafeHwnd() : DefaultOwnerWindow();
}

INT_PTR CDialog::DoModal() {
  modal_ = true;
  const HWND owner = OwnerWindow();
  CDialog* outer = g_running_modal;
  g_running_modal = this;
  BindNextWindow();
  const INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr),
                                         MAKEINTRESOURCEA(template_id_), owner, DialogProc, 0);
  g_running_modal = outer;
  return result;
}

bool CDialog::Create(CWnd* parent) {
  modal_ = false;
  parent_ = parent;
  BindNextWindow();
  HWND hwnd = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(template_id_),
                                 parent != nullptr ? parent->GetSafeHwnd() : nullptr, DialogProc,
                                 0);
  return hwnd != nullptr && hwnd == hwnd_;
}

void CDialog::EndDialog(int result) {
  if (modal_)
    ::EndDialog(hwnd_, result);
  else
    ShowWindow(hwnd_, SW_HIDE);
}

bool CDialog::UpdateData(bool save) {
  CDataExchange dx(hwnd_, save);
  DoDataExchange(&dx);
  return true;
}

bool CDialog::PreTranslateMessage(MSG* msg) {
  return !modal_ && hwnd_ != nullptr && IsDialogMessageA(hwnd_, msg);
}

BOOL CDialog::OnInitDialog() {
  UpdateData(false);
  return TRUE;
}

void CDialog::OnOK() {
  if (UpdateData(true)) EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::DoDataExchange(CDataExchange*) {}

LRESULT CDialog::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_COMMAND:
      if (lp == 0 || HIWORD(wp) == BN_CLICKED) {
        if (LOWORD(wp) == IDOK) {
          OnOK();
          return 0;
        }
        if (LOWORD(wp) == IDCANCEL) {
          OnCancel();
          return 0;
        }
      }
      break;
    default:
      break;
  }
  return CWnd::WindowProc(msg, wp, lp);
}
