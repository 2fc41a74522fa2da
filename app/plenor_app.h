// The application object: start-up (one command-line operation, or the main window), the
// application's commands, and exit.
#pragma once
#include <string>

#include "app/command_line.h"
#include "framework/win_app.h"
#include "platform/registry_view.h"

class CObjectTree;

class CPlenorApp : public CWinApp {
 public:
  CPlenorApp();

  // Runs the command-line operation, or opens the main window; false ends the process at once.
  bool InitInstance() override;
  int ExitInstance() override;
  // Runs a command-line operation to its end.
  void RunStartRequest(const corvane::StartRequest& request);

  const std::string& computer_name() const { return computer_name_; }
  void set_arguments(const std::string& arguments) { arguments_ = arguments; }

 private:
  bool OpenMainWindow();
  // "-V": the COM File Details of the class registered for the file, offering to register it.
  void ShowFileDetails(const std::string& path);
  CObjectTree* ObjectTree() const;
  void OnRegister();
  void OnRefreshList();
  void OnOptions();
  void OnDisplay(int label);
  // Shows the classes of the other registry view: the seams, the setting, the caption, the
  // status bar and a new scan.
  void OnChooseView(corvane::RegistryView view);
  // The caption and the status bar name the view where there are two.
  void ShowView();
  void OnFindMissingDependencies();
  void OnFindBrokenTypeLibs();
  void OnRestoreRemoved();
  void OnGenerateReport();

  std::string arguments_;
  std::string computer_name_;
  std::string last_register_folder_;
  bool com_ready_ = false;
};
