// The user notice of the console tool: messages go to stderr; there is nothing to wait on.
#pragma once
#include <cstdio>

#include "platform/user_notice.h"

namespace corvane {

class ConsoleNotice : public UserNotice {
 public:
  void ShowMessageBox(const std::string& text) override {
    std::fprintf(stderr, "%s\n", text.c_str());
  }
  void BeginWaitCursor() override {}
  void EndWaitCursor() override {}
  void ShowWaitDialog() override {}
  void HideWaitDialog() override {}
};

}  // namespace corvane
