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
  void NotifyAction(const std::string& text, int mode) override {
    notifications.push_back({text, mode});
  }
  void ShowUnregistered(const std::string& name, const std::string& path) override {
    unregistered.push_back({name, path});
  }

  // Answers the questions in turn from answers; No once they run out.
  bool AskYesNo(const std::string& text, const std::string& caption) override {
    questions.push_back({text, caption});
    const bool yes = !answers.empty() && answers.front();
    if (!answers.empty()) answers.erase(answers.begin());
    return yes;
  }

  struct Question {
    std::string text;
    std::string caption;
  };
  struct Notification {
    std::string text;
    int mode;
  };
  struct Unregistered {
    std::string name;
    std::string path;
  };

  std::vector<std::string> messages;
  std::vector<Question> questions;
  std::vector<bool> answers;
  std::vector<Notification> notifications;
  std::vector<Unregistered> unregistered;
  int cursor_depth = 0;
  int cursor_shown = 0;
  int dialog_shown = 0;
  bool dialog_open = false;
};

}  // namespace corvane
