#include "app/message_dlg.h"

#include "resources/resource.h"

namespace {

const UINT_PTR kCloseTimer = 1;
const UINT kTimedMessageMs = 3000;

CMessageDlg* g_timed_message = nullptr;

}  // namespace

CMessageDlg::CMessageDlg(const std::string& text, UINT timeout_ms, CWnd* parent)
    : CDialog(IDD_MESSAGE, parent), text_(text), timeout_ms_(timeout_ms) {}

BOOL CMessageDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  if (timeout_ms_ != 0) {
    if (SetTimer(hwnd_, kCloseTimer, timeout_ms_, nullptr) != 0)
      ShowWindow(GetDlgItem(IDOK), SW_HIDE);
    // No close box: the message goes by itself, or by OK when the timer could not start.
    ModifyStyle(WS_SYSMENU, 0);
    SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  SetDlgItemTextA(hwnd_, IDC_MESSAGE_TEXT, text_.c_str());
  return TRUE;
}

LRESULT CMessageDlg::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_TIMER && wp == kCloseTimer) {
    KillTimer(hwnd_, kCloseTimer);
    SendMessage(WM_CLOSE);
    return 0;
  }
  return CDialog::WindowProc(msg, wp, lp);
}

void ShowMessage(const std::string& text) {
  CMessageDlg dialog(text);
  dialog.DoModal();
}

void ShowTimedMessage(const std::string& text) {
  DestroyTimedMessage();
  auto* dialog = new CMessageDlg(text, kTimedMessageMs);
  if (!dialog->Create(nullptr)) {
    delete dialog;
    return;
  }
  ShowWindow(dialog->GetSafeHwnd(), SW_SHOWNORMAL);
  UpdateWindow(dialog->GetSafeHwnd());
  g_timed_message = dialog;
}

void NotifyAction(const std::string& text, int mode) {
  switch (mode) {
    case kNotifyTimed:
      ShowTimedMessage(text);
      break;
    case kNotifyBeep:
      MessageBeep(0xFFFFFFFF);
      break;
    case kNotifyNone:
      break;
    default:
      ShowMessage(text);
      break;
  }
}

void DestroyTimedMessage() {
  delete g_timed_message;  // the window goes with its object
  g_timed_message = nullptr;
}

CMessageDlg* TimedMessageWindow() { return g_timed_message; }
