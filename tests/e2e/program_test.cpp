// corvane.exe run as a user runs it: with a switch it does its one operation and ends; without
// one it opens the main window, lists the classes of the prefix, and saves its settings when
// it is closed.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "corvane_version.h"

namespace {

const char kFixtureClsidKey[] = "CLSID\\{6E3A1C52-8F0B-4D27-9B1E-2C7D5A40F913}";
const char kSettingsKey[] = "Software\\Tessaline\\Corvane";
const int kObjectList = 1045;

// A Unix path from the build becomes a path on the prefix's Z: drive.
std::string WindowsPath(const char* variable) {
  const char* value = std::getenv(variable);
  std::string path = value != nullptr ? value : "";
  if (!path.empty() && path[0] == '/') path = "Z:" + path;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

// Whether this is 64-bit Windows, where the registry has two views.
bool TwoViews() {
  BOOL wow64 = FALSE;
  return sizeof(void*) == 8 || (IsWow64Process(GetCurrentProcess(), &wow64) && wow64);
}

// On 64-bit Windows the caption names the registry view, at first the program's own.
std::string MainCaption() {
  if (!TwoViews()) return CORVANE_TITLE;
  return std::string(CORVANE_TITLE) +
         (sizeof(void*) == 8 ? " - 64-bit Classes" : " - 32-bit Classes");
}

// Starts corvane.exe with the arguments; returns its process, or null.
HANDLE Start(const std::string& arguments) {
  std::string line = "\"" + WindowsPath("CORVANE_EXE") + "\" " + arguments;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    return nullptr;
  }
  CloseHandle(process.hThread);
  return process.hProcess;
}

DWORD WaitForExit(HANDLE process, DWORD milliseconds) {
  DWORD code = STILL_ACTIVE;
  if (WaitForSingleObject(process, milliseconds) == WAIT_OBJECT_0) GetExitCodeProcess(process, &code);
  return code;
}

// Runs corvane.exe with the arguments to its end; its exit code, or STILL_ACTIVE after a minute.
DWORD RunToEnd(const std::string& arguments) {
  HANDLE run = Start(arguments);
  if (run == nullptr) return STILL_ACTIVE;
  DWORD code = WaitForExit(run, 60000);
  CloseHandle(run);
  return code;
}

bool ClassRegistered() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, kFixtureClsidKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
    return false;
  RegCloseKey(key);
  return true;
}

void SetGeneral(const char* name, DWORD value) {
  HKEY key = nullptr;
  std::string path = std::string(kSettingsKey) + "\\General";
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0,
                                           KEY_ALL_ACCESS, nullptr, &key, nullptr));
  RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  RegCloseKey(key);
}

TEST(ProgramTest, RegistersAndUnregistersAFileFromTheCommandLineAndEnds) {
  // Silent notifications, so that no dialog waits for an answer.
  SetGeneral("AfterRegister", 3);
  SetGeneral("AfterUnregister", 3);
  std::string fixture = WindowsPath("CORVANE_FIXTURE_CONTROL");
  ASSERT_FALSE(ClassRegistered());

  EXPECT_EQ(0u, RunToEnd("-r " + fixture));
  EXPECT_TRUE(ClassRegistered());

  EXPECT_EQ(0u, RunToEnd("-U " + fixture));
  EXPECT_FALSE(ClassRegistered());
  SetGeneral("AfterRegister", 0);
  SetGeneral("AfterUnregister", 0);
}

// Waits for a top-level window with that caption, closes it, and waits for the process.
bool CloseWindowOf(HANDLE run, const char* caption) {
  HWND window = nullptr;
  for (int i = 0; i < 600 && window == nullptr; ++i) {
    window = FindWindowA(nullptr, caption);
    if (window == nullptr) Sleep(100);
  }
  if (window == nullptr) return false;
  PostMessageA(window, WM_CLOSE, 0, 0);
  return WaitForExit(run, 60000) == 0;
}

TEST(ProgramTest, ViewsTheDetailsOfARegisteredFileAndComparesFiles) {
  SetGeneral("AfterRegister", 3);
  SetGeneral("AfterUnregister", 3);
  std::string fixture = WindowsPath("CORVANE_FIXTURE_CONTROL");
  EXPECT_EQ(0u, RunToEnd("-R " + fixture));
  ASSERT_TRUE(ClassRegistered());

  HANDLE run = Start("-v " + fixture);
  ASSERT_NE(nullptr, run);
  EXPECT_TRUE(CloseWindowOf(run, "COM File Details - CorvaneFixture.Control.1"));
  CloseHandle(run);

  run = Start("-C " + fixture);
  ASSERT_NE(nullptr, run);
  EXPECT_TRUE(CloseWindowOf(run, "Compare COM Files"));
  CloseHandle(run);

  EXPECT_EQ(0u, RunToEnd("-U " + fixture));
  EXPECT_FALSE(ClassRegistered());
  SetGeneral("AfterRegister", 0);
  SetGeneral("AfterUnregister", 0);
}

TEST(ProgramTest, StartsScansListsAndClosesSavingItsSettings) {
  RegDeleteKeyA(HKEY_CURRENT_USER, (std::string(kSettingsKey) + "\\Computers").c_str());
  RegDeleteKeyA(HKEY_CURRENT_USER, (std::string(kSettingsKey) + "\\General").c_str());

  auto started = std::chrono::steady_clock::now();
  HANDLE run = Start("");
  ASSERT_NE(nullptr, run);
  const std::string caption = MainCaption();
  HWND main = nullptr;
  for (int i = 0; i < 600 && main == nullptr; ++i) {
    main = FindWindowA("CorvaneFrame", caption.c_str());
    if (main == nullptr) Sleep(100);
  }
  ASSERT_NE(nullptr, main) << "no main window called " << caption;
  double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  std::printf("main window up %.1f s after start\n", seconds);

  // The left pane's list holds the controls of the prefix.
  struct Finder {
    static BOOL CALLBACK Find(HWND hwnd, LPARAM found) {
      if (GetDlgCtrlID(hwnd) == kObjectList) {
        *reinterpret_cast<HWND*>(found) = hwnd;
        return FALSE;
      }
      return TRUE;
    }
  };
  HWND list = nullptr;
  EnumChildWindows(main, Finder::Find, reinterpret_cast<LPARAM>(&list));
  ASSERT_NE(nullptr, list);
  LRESULT items = SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
  EXPECT_GT(items, 0);
  std::printf("%ld controls listed\n", static_cast<long>(items));

  // Find Missing Dependencies and Generate Report are always there to be used.
  HWND bar = FindWindowExA(FindWindowExA(main, nullptr, REBARCLASSNAMEA, nullptr), nullptr,
                           TOOLBARCLASSNAMEA, nullptr);
  for (WPARAM command : {32802, 32780}) {
    EXPECT_TRUE(SendMessageA(bar, TB_ISBUTTONENABLED, command, 0)) << command;
  }

  // The View menu's command switches to the other view where there are two: the caption says
  // so, and the choice is kept. With one view it changes nothing.
  const bool to32 = sizeof(void*) == 8;
  const std::string other = to32 ? "32-bit Classes" : "64-bit Classes";
  SendMessageA(main, WM_COMMAND, to32 ? 3500 : 3501, 0);
  char text[128] = "";
  GetWindowTextA(main, text, sizeof text);
  EXPECT_EQ(TwoViews() ? std::string(CORVANE_TITLE) + " - " + other : caption, std::string(text));
  std::printf("%ld controls listed after the switch\n",
              static_cast<long>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)));

  PostMessageA(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(0u, WaitForExit(run, 60000));
  CloseHandle(run);

  HKEY general = nullptr;
  ASSERT_EQ(ERROR_SUCCESS,
            RegOpenKeyExA(HKEY_CURRENT_USER, (std::string(kSettingsKey) + "\\General").c_str(),
                          0, KEY_READ, &general));
  DWORD value = 0, size = sizeof value, type = 0;
  EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(general, "DisplayMissing", nullptr, &type,
                                            reinterpret_cast<BYTE*>(&value), &size));
  EXPECT_EQ(static_cast<DWORD>(REG_DWORD), type);
  EXPECT_EQ(1u, value);
  size = sizeof value;
  const LONG kept = RegQueryValueExA(general, "RegistryView", nullptr, &type,
                                     reinterpret_cast<BYTE*>(&value), &size);
  if (TwoViews()) EXPECT_EQ(to32 ? 32u : 64u, value);
  RegCloseKey(general);
  if (!TwoViews() || kept != ERROR_SUCCESS) return;

  // The next start shows the kept view.
  run = Start("");
  ASSERT_NE(nullptr, run);
  main = nullptr;
  for (int i = 0; i < 600 && main == nullptr; ++i) {
    main = FindWindowA("CorvaneFrame", (std::string(CORVANE_TITLE) + " - " + other).c_str());
    if (main == nullptr) Sleep(100);
  }
  EXPECT_NE(nullptr, main) << "the kept view is not shown";
  if (main != nullptr) PostMessageA(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(0u, WaitForExit(run, 60000));
  CloseHandle(run);
  RegDeleteKeyA(HKEY_CURRENT_USER, (std::string(kSettingsKey) + "\\General").c_str());
}

// The default value of a key below HKEY_CLASSES_ROOT, or "<none>".
std::string ClassesDefault(const std::string& path) {
  char data[1024] = "";
  LONG size = sizeof data;
  if (RegQueryValueA(HKEY_CLASSES_ROOT, path.c_str(), data, &size) != ERROR_SUCCESS)
    return "<none>";
  return data;
}

void SetClassesDefault(const std::string& path, const std::string& value) {
  RegSetValueA(HKEY_CLASSES_ROOT, path.c_str(), REG_SZ, value.c_str(),
               static_cast<DWORD>(value.size()));
}

TEST(ProgramTest, InteractiveStartWritesTheShellVerbsAndOpeningAControlRegistersIt) {
  SetClassesDefault(".ocx", "OtherApp.Control");
  SetClassesDefault("dllfile\\shell\\Inspect\\command", "inspect.exe %1");
  const std::string dll_type = ClassesDefault(".dll");

  HANDLE run = Start("");
  ASSERT_NE(nullptr, run);
  EXPECT_TRUE(CloseWindowOf(run, MainCaption().c_str()));
  CloseHandle(run);

  const std::string exe = WindowsPath("CORVANE_EXE");
  EXPECT_EQ(ClassesDefault(".ocx"), "ocxfile");
  EXPECT_EQ(ClassesDefault("ocxfile\\shell"), "R");
  EXPECT_EQ(ClassesDefault("ocxfile\\shell\\R"), "Register ActiveX Control");
  EXPECT_EQ(ClassesDefault("ocxfile\\shell\\V"), "View ActiveX Control Details");
  EXPECT_EQ(ClassesDefault("ocxfile\\shell\\C"), "Compare With...");
  EXPECT_EQ(ClassesDefault("ocxfile\\shell\\U"), "Unregister ActiveX Control");
  EXPECT_EQ(lstrcmpiA(ClassesDefault("ocxfile\\shell\\R\\command").c_str(),
                      (exe + " -R %L").c_str()), 0)
      << ClassesDefault("ocxfile\\shell\\R\\command");
  EXPECT_EQ(lstrcmpiA(ClassesDefault("ocxfile\\DefaultIcon").c_str(), exe.c_str()), 0);
  EXPECT_EQ(ClassesDefault("dllfile\\shell"), "R");
  EXPECT_EQ(ClassesDefault("dllfile\\shell\\V"), "View DLL Server Details");
  EXPECT_EQ(lstrcmpiA(ClassesDefault("dllfile\\shell\\U\\command").c_str(),
                      (exe + " -U %L").c_str()), 0);
  EXPECT_EQ(ClassesDefault("dllfile\\DefaultIcon"), "<none>");
  EXPECT_EQ(ClassesDefault("dllfile\\shell\\Inspect\\command"), "inspect.exe %1");
  EXPECT_EQ(ClassesDefault(".dll"), dll_type);

  // Opening the control in the shell runs the default verb: corvane.exe -R <file>.
  SetGeneral("AfterRegister", 3);
  SetGeneral("AfterUnregister", 3);
  const std::string fixture = WindowsPath("CORVANE_FIXTURE_CONTROL");
  ASSERT_FALSE(ClassRegistered());
  SHELLEXECUTEINFOA open = {};
  open.cbSize = sizeof open;
  open.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
  open.lpFile = fixture.c_str();
  open.nShow = SW_SHOWNORMAL;
  ASSERT_TRUE(ShellExecuteExA(&open));
  ASSERT_NE(nullptr, open.hProcess);
  EXPECT_EQ(0u, WaitForExit(open.hProcess, 60000));
  CloseHandle(open.hProcess);
  EXPECT_TRUE(ClassRegistered());

  EXPECT_EQ(0u, RunToEnd("-U " + fixture));
  EXPECT_FALSE(ClassRegistered());
  RegDeleteKeyA(HKEY_CLASSES_ROOT, "dllfile\\shell\\Inspect\\command");
  RegDeleteKeyA(HKEY_CLASSES_ROOT, "dllfile\\shell\\Inspect");
  SetGeneral("AfterRegister", 0);
  SetGeneral("AfterUnregister", 0);
}

}  // namespace
