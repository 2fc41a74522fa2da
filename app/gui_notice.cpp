#include "app/gui_notice.h"

#include "app/message_dlg.h"
#include "app/unregistered_dlg.h"
#include "framework/win_app.h"
#include "resources/resource.h"

GuiNotice::GuiNotice() = default;

GuiNotice::~GuiNotice() = default;

void GuiNotice::ShowMessageBox(const std::string& text) { AppMessageBox(text, MB_OK); }

void GuiNotice::BeginWaitCursor() {
  // Only the outermost wait remembers the cursor, so nested waits restore the right one.
  if (wait_depth_++ == 0)
    cursor_before_wait_ = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
  else
    SetCursor(LoadCursorA(nullptr, IDC_WAIT));
}

void GuiNotice::EndWaitCursor() {
  if (wait_depth_ == 0) return;
  if (--wait_depth_ == 0)
    SetCursor(cursor_before_wait_ != nullptr ? cursor_before_wait_
                                             : LoadCursorA(nullptr, IDC_ARROW));
}

void GuiNotice::ShowWaitDialog() {
  if (wait_dialog_ != nullptr) return;
  auto dialog = std::make_unique<CDialog>(IDD_WAIT);
  if (!dialog->Create(nullptr)) return;
  // Painted now: the walk that follows does not service the window.
  ShowWindow(dialog->GetSafeHwnd(), SW_SHOWNORMAL);
  UpdateWindow(dialog->GetSafeHwnd());
  wait_dialog_ = std::move(dialog);
}

void GuiNotice::HideWaitDialog() { wait_dialog_.reset(); }

void GuiNotice::NotifyAction(const std::string& text, int mode) { ::NotifyAction(text, mode); }

void GuiNotice::ShowUnregistered(const std::string& name, const std::string& path) {
  CUnregisteredDlg dialog(name, path);
  dialog.DoModal();
}

bool GuiNotice::AskYesNo(const std::string& text, const std::string& caption) {
  return MessageBoxA(DefaultOwnerWindow(), text.c_str(), caption.c_str(),
                     MB_YESNO | MB_ICONQUESTION) == IDYES;
}
