// The program's message dialog, the timed message window and the notification after an action.
#pragma once
#include <string>

#include "framework/dialog.h"

class CMessageDlg : public CDialog {
 public:
  // A time-out of 0 waits for OK; otherwise the dialog closes itself after that many ms.
  explicit CMessageDlg(const std::string& text, UINT timeout_ms = 0, CWnd* parent = nullptr);

 protected:
  BOOL OnInitDialog() override;
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  std::string text_;
  UINT timeout_ms_;
};

// Shows the text modally, owned by the main window when there is one, until OK.
void ShowMessage(const std::string& text);
// Shows the text for a few seconds in the one timed message window and returns at once.
void ShowTimedMessage(const std::string& text);
// The notice after a successful action: 1 timed, 2 beep, 3 nothing, anything else ShowMessage.
void NotifyAction(const std::string& text, int mode);
// Destroys the timed message window if there is one (at exit).
void DestroyTimedMessage();
// The current timed message window, or null.
CMessageDlg* TimedMessageWindow();

// How NotifyAction's modes are numbered.
enum NotifyMode { kNotifyWait = 0, kNotifyTimed = 1, kNotifyBeep = 2, kNotifyNone = 3 };
