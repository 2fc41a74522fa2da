// A user notice that records what it was asked to show, for tests.
#pragma once
#include <string>
#include <vector>

#include "platform/user_notice.h"

namespace corvane {

class RecordingNotice : public UserNotice {
 public:
  void ShowMessageBox(const std::string& text) override { messages.push_back(text); }
  void BeginWaitCursor() override { ++cursor_depth, ++cursor_shown; }
  void EndWaitCursor() override { --cursor_depth; }
  void ShowWaitDialog() override { ++dialog_shown, dialog_open = true; }
  void HideWaitDialog() override { dialog_open = false; }

  std::vector<std::string> messages;
  int cursor_depth = 0;
  int cursor_shown = 0;
  int dialog_shown = 0;
  bool dialog_open = false;
};

}  // namespace corvane
