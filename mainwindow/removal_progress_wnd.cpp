#include "mainwindow/removal_progress_wnd.h"

#include <commctrl.h>

#include "resources/resource.h"

CRemovalProgressWnd::CRemovalProgressWnd() : CDialog(IDD_REMOVAL_PROGRESS) {}

CRemovalProgressWnd::~CRemovalProgressWnd() { Close(); }

bool CRemovalProgressWnd::Open(CWnd* owner, int total) {
  total_ = total;
  if (!Create(owner)) return false;
  SendDlgItemMessageA(hwnd_, IDC_REMOVAL_PROGRESS_BAR, PBM_SETRANGE32, 0, total);
  owner_ = owner != nullptr ? owner->GetSafeHwnd() : nullptr;
  if (owner_ != nullptr) EnableWindow(owner_, FALSE);
  ShowWindow(hwnd_, SW_SHOWNORMAL);
  UpdateWindow(hwnd_);
  return true;
}

bool CRemovalProgressWnd::Step(int done, const std::string& next_name) {
  if (hwnd_ == nullptr) return !cancelled_;
  SendDlgItemMessageA(hwnd_, IDC_REMOVAL_PROGRESS_BAR, PBM_SETPOS, done, 0);
  if (!cancelled_) {
    const std::string text = "Removing " + std::to_string(done + 1) + " of " +
                             std::to_string(total_) + ": " + next_name;
    SetDlgItemTextA(hwnd_, IDC_REMOVAL_PROGRESS_TEXT, text.c_str());
  }
  MSG msg;
  while (!cancelled_ && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // Left for the main loop, which ends the program once this command is done.
      PostQuitMessage(static_cast<int>(msg.wParam));
      cancelled_ = true;
      break;
    }
    if (IsDialogMessageA(hwnd_, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  UpdateWindow(hwnd_);
  return !cancelled_;
}

void CRemovalProgressWnd::OnCancel() {
  cancelled_ = true;
  EnableWindow(GetDlgItem(IDCANCEL), FALSE);
  SetDlgItemTextA(hwnd_, IDC_REMOVAL_PROGRESS_TEXT, "Cancelling...");
}

void CRemovalProgressWnd::Close() {
  // The owner is enabled first, so that the activation goes back to it.
  if (owner_ != nullptr) EnableWindow(owner_, TRUE);
  owner_ = nullptr;
  if (hwnd_ != nullptr) DestroyWindow();
}
