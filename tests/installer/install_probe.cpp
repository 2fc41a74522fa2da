// Drives an installed corvane.exe from outside, for the installer test:
//   install_probe help EXE   starts EXE, opens Help > Contents, checks that the help viewer
//                            shows the contents, quits the viewer and closes Corvane
//   install_probe wait       waits until a Corvane main window is up
//   install_probe close      closes every Corvane main window and waits until they are gone
// Exits 0 on success; a failure is printed.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "tests/gui/help_windows.h"

namespace {

const char kFrameClass[] = "CorvaneFrame";
const char kViewerClass[] = "MS_WINHELP";
using help_windows::ViewerText;

std::vector<HWND> Windows(const char* window_class) {
  return help_windows::WindowsOfClass(window_class);
}

template <typename Condition>
bool WaitFor(Condition condition, DWORD wait_ms) {
  for (DWORD waited = 0;; waited += 200) {
    if (condition()) return true;
    if (waited >= wait_ms) return false;
    Sleep(200);
  }
}

// Asks windows of a class to close; ends their processes when they linger.
void CloseAll(const char* window_class) {
  for (HWND window : Windows(window_class)) PostMessageA(window, WM_CLOSE, 0, 0);
  if (WaitFor([&] { return Windows(window_class).empty(); }, 20000)) return;
  for (HWND window : Windows(window_class)) {
    DWORD process_id = 0;
    GetWindowThreadProcessId(window, &process_id);
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, process_id);
    if (process == nullptr) continue;
    TerminateProcess(process, 1);
    WaitForSingleObject(process, 5000);
    CloseHandle(process);
  }
}

int Help(const std::string& program) {
  // Quoted, so that the program sees an empty command line, as when started from its shortcut.
  const std::string command = "\"" + program + "\"";
  std::vector<char> line(command.begin(), command.end());
  line.push_back('\0');
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &process)) {
    std::printf("install_probe: %s does not start (%lu)\n", program.c_str(), GetLastError());
    return 1;
  }
  CloseHandle(process.hThread);
  int result = 0;
  HWND frame = nullptr;
  if (!WaitFor([&] { return (frame = FindWindowA(kFrameClass, nullptr)) != nullptr; }, 120000)) {
    std::printf("install_probe: no main window\n");
    result = 1;
  } else {
    // Let the start-up's scan finish before the command arrives.
    WaitFor([&] { return IsWindowVisible(frame) && IsWindowEnabled(frame); }, 60000);
    PostMessageA(frame, WM_COMMAND, ID_HELP_CONTENTS, 0);
    if (!WaitFor([] { return ViewerText().find("Well behaved and misbehaved classes") !=
                             std::string::npos; }, 60000)) {
      std::printf("install_probe: the help viewer does not show the contents:\n%s\n",
                  ViewerText().c_str());
      result = 1;
    }
  }
  CloseAll(kViewerClass);
  CloseAll(kFrameClass);
  if (WaitForSingleObject(process.hProcess, 30000) != WAIT_OBJECT_0) {
    TerminateProcess(process.hProcess, 1);
    std::printf("install_probe: Corvane did not end\n");
    result = 1;
  }
  CloseHandle(process.hProcess);
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "help") == 0) return Help(argv[2]);
  if (argc == 2 && std::strcmp(argv[1], "wait") == 0) {
    if (WaitFor([] { return FindWindowA(kFrameClass, nullptr) != nullptr; }, 120000)) return 0;
    std::printf("install_probe: no main window\n");
    return 1;
  }
  if (argc == 2 && std::strcmp(argv[1], "close") == 0) {
    CloseAll(kFrameClass);
    return 0;
  }
  std::printf("usage: install_probe help EXE | wait | close\n");
  return 2;
}
