// What the core shows the user, in windows: message boxes, the wait cursor, the wait dialog,
// the notification after an action and the dialog after a control is unregistered.
#pragma once
#include <windows.h>

#include <memory>

#include "framework/dialog.h"
#include "platform/user_notice.h"

class GuiNotice : public corvane::UserNotice {
 public:
  GuiNotice();
  ~GuiNotice() override;

  void ShowMessageBox(const std::string& text) override;
  void BeginWaitCursor() override;
  void EndWaitCursor() override;
  void ShowWaitDialog() override;
  void HideWaitDialog() override;
  void NotifyAction(const std::string& text, int mode) override;
  void ShowUnregistered(const std::string& name, const std::string& path) override;
  bool AskYesNo(const std::string& text, const std::string& caption) override;

  // The wait dialog while it is shown, or null.
  CDialog* wait_dialog() const { return wait_dialog_.get(); }

 private:
  int wait_depth_ = 0;
  HCURSOR cursor_before_wait_ = nullptr;
  std::unique_ptr<CDialog> wait_dialog_;
};
