// What the core shows the user: message boxes, notifications and the wait indicators. The GUI implements it;
// the core never includes GUI code.
#pragma once
#include <string>

namespace corvane {

class UserNotice {
 public:
  virtual ~UserNotice() = default;

  // A message box with an OK button only.
  virtual void ShowMessageBox(const std::string& text) = 0;
  // The wait cursor, around a long registry walk.
  virtual void BeginWaitCursor() = 0;
  virtual void EndWaitCursor() = 0;
  // The modeless wait dialog, shown and painted at once, not serviced until hidden.
  virtual void ShowWaitDialog() = 0;
  virtual void HideWaitDialog() = 0;
  // The confirmation after a successful action, as the user chose it: mode 1 a message that
  // closes itself, 2 a beep, 3 nothing, any other value a message that waits for OK.
  virtual void NotifyAction(const std::string& text, int mode) = 0;
  // A question box with Yes and No: true for Yes.
  virtual bool AskYesNo(const std::string& text, const std::string& caption) = 0;
  // The "COM Control Unregistered" dialog, which offers to keep or delete the server file.
  virtual void ShowUnregistered(const std::string& name, const std::string& path) = 0;
};

// The wait cursor for one scope.
class WaitCursor {
 public:
  explicit WaitCursor(UserNotice& notice) : notice_(notice) { notice_.BeginWaitCursor(); }
  ~WaitCursor() { notice_.EndWaitCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  UserNotice& notice_;
};

}  // namespace corvane
