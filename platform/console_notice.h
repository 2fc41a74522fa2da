// The user notice of the console tool: messages go to stderr; there is nothing to wait on.
// A beep or no notification, as the user chose, prints nothing.
#pragma once
#include <cstdio>

#include "platform/user_notice.h"

namespace corvane {

class ConsoleNotice : public UserNotice {
 public:
  // A console can't ask: every question gets the answer given here.
  explicit ConsoleNotice(bool answer_yes = false) : answer_yes_(answer_yes) {}
  void ShowMessageBox(const std::string& text) override {
    std::fprintf(stderr, "%s\n", text.c_str());
  }
  void BeginWaitCursor() override {}
  void EndWaitCursor() override {}
  void ShowWaitDialog() override {}
  void HideWaitDialog() override {}
  void NotifyAction(const std::string& text, int mode) override {
    if (mode == 2 || mode == 3) return;
    ShowMessageBox(text);
  }
  void ShowUnregistered(const std::string& name, const std::string& path) override {
    std::fprintf(stderr, "COM Control Unregistered\nControl: %s\nFile: %s\n", name.c_str(),
                 path.c_str());
  }
  bool AskYesNo(const std::string&, const std::string&) override { return answer_yes_; }

 private:
  bool answer_yes_;
};

}  // namespace corvane
