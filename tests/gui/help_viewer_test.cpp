// The help file that the build puts beside the programs opens in the system's help viewer at
// its contents and at a dialog's topic. The viewer is asked to quit and, should it linger,
// ended, so that nothing is left waiting for input.
#include "app/launcher.h"
#include "app/shell_tools.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const char kViewerClass[] = "MS_WINHELP";

// The build folder: this program lives two folders below it (tests\gui).
std::string BuildFolder() {
  char path[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder = path;
  for (int level = 0; level < 3; ++level) folder = folder.substr(0, folder.find_last_of('\\'));
  return folder;
}

std::string TextOf(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length))
    return "";
  std::vector<char> text(length + 1, '\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                      SMTO_ABORTIFHUNG, 2000, &copied);
  return std::string(text.data(), copied);
}

BOOL CALLBACK CollectViewer(HWND window, LPARAM windows) {
  char name[64] = "";
  GetClassNameA(window, name, sizeof name);
  if (lstrcmpiA(name, kViewerClass) == 0)
    reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
  return TRUE;
}

std::vector<HWND> ViewerWindows() {
  std::vector<HWND> windows;
  EnumWindows(CollectViewer, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

BOOL CALLBACK AppendText(HWND window, LPARAM text) {
  *reinterpret_cast<std::string*>(text) += TextOf(window) + "\n";
  return TRUE;
}

// The captions and the shown text of every viewer window.
std::string ViewerText() {
  std::string text;
  for (HWND window : ViewerWindows()) {
    text += TextOf(window) + "\n";
    EnumChildWindows(window, AppendText, reinterpret_cast<LPARAM>(&text));
  }
  return text;
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
    // As when the program is started from its own folder.
    GetCurrentDirectoryA(MAX_PATH, saved_directory_);
    help_file_ = BuildFolder() + "\\vantic.hlp";
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(help_file_.c_str())) << help_file_;
    ASSERT_TRUE(SetCurrentDirectoryA(BuildFolder().c_str()));
  }

  void TearDown() override {
    Launcher().ShowHelp(nullptr, "vantic.hlp", HELP_QUIT, 0);
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
    SetCurrentDirectoryA(saved_directory_);
  }

  char saved_directory_[MAX_PATH] = "";
  std::string help_file_;
};

TEST_F(HelpViewer, ContentsOpenAtTheContentsTopic) {
  HelpContents();
  EXPECT_TRUE(ViewerShows("Well behaved and misbehaved classes", 30000)) << ViewerText();
}

TEST_F(HelpViewer, DialogHelpOpensTheDialogsTopic) {
  HelpOnDialog(102);
  EXPECT_TRUE(ViewerShows("Display misbehaved objects", 30000)) << ViewerText();
  EXPECT_TRUE(ViewerTitled("Corvane Help")) << ViewerText();
  EXPECT_EQ(std::string::npos, ViewerText().find("Well behaved and misbehaved classes"));

  HelpOnDialog(105);
  EXPECT_TRUE(ViewerShows("Connection Failure", 30000)) << ViewerText();
}

}  // namespace
