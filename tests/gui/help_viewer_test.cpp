// The help file that the build puts beside the programs opens in the system's help viewer at
// its contents and at a dialog's topic, also when the program was started from another folder.
// The viewer is asked to quit and, should it linger, ended, so that nothing is left waiting for
// input.
#include "app/launcher.h"
#include "app/shell_tools.h"
#include "tests/gui/help_windows.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

using help_windows::TextOf;
using help_windows::ViewerText;
using help_windows::ViewerWindows;

std::string ProgramFolder() {
  char path[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder = path;
  return folder.substr(0, folder.find_last_of('\\'));
}

// The build folder, which holds vantic.hlp: this program lives two folders below it (tests\gui).
std::string BuildFolder() {
  std::string folder = ProgramFolder();
  for (int level = 0; level < 2; ++level) folder = folder.substr(0, folder.find_last_of('\\'));
  return folder;
}

bool ViewerTitled(const std::string& caption) {
  for (HWND window : ViewerWindows())
    if (IsWindowVisible(window) && TextOf(window) == caption) return true;
  return false;
}

bool ViewerShows(const std::string& wanted, DWORD wait_ms) {
  for (DWORD waited = 0;; waited += 200) {
    if (ViewerText().find(wanted) != std::string::npos) return true;
    if (waited >= wait_ms) return false;
    Sleep(200);
  }
}

class HelpViewer : public testing::Test {
 protected:
  void SetUp() override {
    // The built help file beside this program, as it lies beside corvane.exe; the current
    // folder elsewhere, as when the program is started through a shell verb.
    copy_ = ProgramFolder() + "\\vantic.hlp";
    ASSERT_TRUE(CopyFileA((BuildFolder() + "\\vantic.hlp").c_str(), copy_.c_str(), FALSE));
    GetCurrentDirectoryA(MAX_PATH, saved_directory_);
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    ASSERT_TRUE(SetCurrentDirectoryA(temp));
  }

  // The viewer answers a request only once it has shown the file, or an error box that waits
  // for input; so requests go from a thread of their own, which the test never waits on before
  // the viewer is gone.
  void Request(std::function<void()> request) { requests_.emplace_back(std::move(request)); }

  void TearDown() override {
    Request([] { Launcher().ShowHelp(nullptr, "vantic.hlp", HELP_QUIT, 0); });
    for (int waited = 0; waited < 50 && !ViewerWindows().empty(); ++waited) Sleep(200);
    // A viewer that did not quit (say, showing an error box) is ended by its process id.
    for (HWND window : ViewerWindows()) {
      DWORD process_id = 0;
      GetWindowThreadProcessId(window, &process_id);
      HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, process_id);
      if (process == nullptr) continue;
      TerminateProcess(process, 1);
      WaitForSingleObject(process, 5000);
      CloseHandle(process);
    }
    for (std::thread& request : requests_) request.join();
    SetCurrentDirectoryA(saved_directory_);
    DeleteFileA(copy_.c_str());
  }

  char saved_directory_[MAX_PATH] = "";
  std::string copy_;
  std::vector<std::thread> requests_;
};

TEST_F(HelpViewer, ContentsOpenAtTheContentsTopic) {
  Request(HelpContents);
  EXPECT_TRUE(ViewerShows("Well behaved and misbehaved classes", 30000)) << ViewerText();
}

TEST_F(HelpViewer, DialogHelpOpensTheDialogsTopic) {
  Request([] { HelpOnDialog(102); });
  EXPECT_TRUE(ViewerShows("Display misbehaved objects", 30000)) << ViewerText();
  EXPECT_TRUE(ViewerTitled("Corvane Help")) << ViewerText();
  EXPECT_EQ(std::string::npos, ViewerText().find("Well behaved and misbehaved classes"));

  Request([] { HelpOnDialog(105); });
  EXPECT_TRUE(ViewerShows("Connection Failure", 30000)) << ViewerText();
}

}  // namespace
