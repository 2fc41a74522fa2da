// The web update end to end, run by the installer test in its prefix: Check for Updates finds
// the newer version that a local server offers, downloads its installer to a desktop folder of
// the test's own, offers to run it, hands it to the launcher and closes Corvane's main window;
// then the recorded installer runs silently, as the shell would start it.
//   update_roundtrip URL DESKTOP   (the update information's URL; a Windows folder)
// Exits 0 when every step held; each failure is printed.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/launcher.h"
#include "framework/win_app.h"
#include "resources/resource.h"
#include "tests/gui/modal_driver.h"
#include "update/web_update_dlg.h"

namespace {

int failures = 0;

void Expect(bool held, const std::string& what) {
  if (held) return;
  std::printf("update_roundtrip: %s\n", what.c_str());
  ++failures;
}

class RecordingLauncher : public CLauncher {
 public:
  int RunShell(const std::string& target, const std::string&, const std::string&,
               int) override {
    targets.push_back(target);
    return 33;
  }
  std::vector<std::string> targets;
};

void SetUserValue(const char* key_path, const char* name, DWORD type, const std::string& text) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, key_path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                      nullptr) != ERROR_SUCCESS)
    return;
  RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                 static_cast<DWORD>(text.size() + 1));
  RegCloseKey(key);
}

template <typename Condition>
bool WaitFor(Condition condition) {
  for (int waited = 0; waited < 600; ++waited) {
    if (condition()) return true;
    gui_test::Pump();
    Sleep(50);
  }
  return false;
}

bool Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }

// Runs the installer the way the shell's open would, silently; its exit code.
DWORD RunSilently(const std::string& installer) {
  std::string command = "\"" + installer + "\" /S";
  std::vector<char> line(command.begin(), command.end());
  line.push_back('\0');
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process))
    return GetLastError() | 0x80000000u;
  CloseHandle(process.hThread);
  DWORD code = 0x80000000u;
  if (WaitForSingleObject(process.hProcess, 300000) == WAIT_OBJECT_0)
    GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hProcess);
  return code;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::printf("usage: update_roundtrip URL DESKTOP\n");
    return 2;
  }
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  const std::string desktop = argv[2];
  CreateDirectoryA(desktop.c_str(), nullptr);
  SetUserValue("Software\\Tessaline\\Corvane\\WebUpdate", "URL", REG_SZ, argv[1]);
  SetUserValue("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders",
               "Desktop", REG_EXPAND_SZ, desktop);

  RecordingLauncher launcher;
  SetLauncher(&launcher);
  // Stands for Corvane's main window, which the update closes once the installer starts.
  CWinApp app;
  CWnd main;
  main.CreateEx(0, "STATIC", "Corvane", WS_OVERLAPPED, RECT{0, 0, 10, 10}, nullptr, 0);
  const HWND main_window = main.GetSafeHwnd();
  app.set_main_window(&main);

  std::string question;
  gui_test::DialogDriver driver(
      {{"Corvane Web Update",
        [&](HWND dialog) {
          if (!WaitFor([&] { return Enabled(dialog, IDOK); })) return;
          Expect(IsWindowVisible(GetDlgItem(dialog, IDC_DOWNLOAD_LINK)) != FALSE,
                 "no download link: the newer version was not found");
          SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_DOWNLOAD_LINK, STN_CLICKED),
                       reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_DOWNLOAD_LINK)));
          Expect(WaitFor([&] { return Enabled(dialog, IDOK); }), "the download did not end");
          gui_test::SendClick(dialog, IDOK);
        }},
       {"Update ready for installation",
        [&](HWND box) {
          question = gui_test::WindowText(GetDlgItem(box, 0xFFFF));
          gui_test::SendClick(box, IDYES);
        }}},
      [] {});
  CheckForUpdates();
  gui_test::Pump();

  Expect(driver.steps_done() == 2, "the update did not offer to run the installer");
  Expect(launcher.targets.size() == 1, "the installer was not handed to the launcher");
  Expect(!IsWindow(main_window), "Corvane's main window was not closed");
  if (launcher.targets.size() != 1) return 1;
  const std::string installer = launcher.targets[0];
  std::printf("update_roundtrip: installer %s\n", installer.c_str());
  const std::string name = installer.substr(installer.find_last_of('\\') + 1);
  Expect(installer == desktop + "\\" + name, "the installer is not on the desktop: " + installer);
  Expect(question.find("\"" + name + "\"") != std::string::npos,
         "the question does not name the installer: " + question);
  SetLauncher(nullptr);
  const DWORD code = RunSilently(installer);
  Expect(code == 0, "the installer ended with " + std::to_string(code));
  return failures == 0 ? 0 : 1;
}
