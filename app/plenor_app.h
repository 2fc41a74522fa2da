// The application object: start-up, the application's commands, and exit.
#pragma once
#include <string>

#include "framework/win_app.h"
#include "platform/win32/win32_registry.h"

class CPlenorApp : public CWinApp {
 public:
  CPlenorApp();

  bool InitInstance() override;
  int ExitInstance() override;

  const std::string& computer_name() const { return computer_name_; }

 private:
  void OnOptions();

  corvane::Win32Registry registry_;
  std::string computer_name_;
  bool com_ready_ = false;
};
