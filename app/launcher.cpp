#include "app/launcher.h"

#include <vector>

namespace {

CLauncher g_real;
CLauncher* g_current = &g_real;

// The help viewer looks for a file named without a folder only in the current folder and the
// system's folders, so a help file that lies beside the program is handed over with its folder:
// help then opens wherever the program was started from.
std::string HelpFileBesideProgram(const std::string& file) {
  if (file.find_first_of("\\/:") != std::string::npos) return file;
  char module[MAX_PATH] = "";
  DWORD length = GetModuleFileNameA(nullptr, module, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return file;
  std::string beside(module, length);
  beside = beside.substr(0, beside.find_last_of('\\') + 1) + file;
  return GetFileAttributesA(beside.c_str()) != INVALID_FILE_ATTRIBUTES ? beside : file;
}

}  // namespace

int CLauncher::RunShell(const std::string& target, const std::string& verb,
                             const std::string& parameters, int show) {
  SHELLEXECUTEINFOA info = {};
  info.cbSize = sizeof info;
  info.lpVerb = verb.empty() ? nullptr : verb.c_str();
  info.lpFile = target.c_str();
  info.lpParameters = parameters.empty() ? nullptr : parameters.c_str();
  info.nShow = show;
  if (ShellExecuteExA(&info)) return 33;
  int code = static_cast<int>(reinterpret_cast<INT_PTR>(info.hInstApp));
  return code > 32 || code == 0 ? static_cast<int>(SE_ERR_NOASSOC) : code;
}

UINT CLauncher::RunCommand(const std::string& command_line, int show) {
  return ::WinExec(command_line.c_str(), show);
}

BOOL CLauncher::ShowHelp(HWND owner, const std::string& file, UINT command, ULONG_PTR data) {
  return WinHelpA(owner, HelpFileBesideProgram(file).c_str(), command, data);
}

namespace {

bool CreateShownProcess(const std::string& command_line, int show, PROCESS_INFORMATION* process) {
  // CreateProcessA may write into its command line.
  std::vector<char> line(command_line.begin(), command_line.end());
  line.push_back('\0');
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(show);
  if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, process))
    return false;
  CloseHandle(process->hThread);
  return true;
}

}  // namespace

bool CLauncher::StartProcess(const std::string& command_line, int show) {
  PROCESS_INFORMATION process = {};
  if (!CreateShownProcess(command_line, show, &process)) return false;
  CloseHandle(process.hProcess);
  return true;
}

bool CLauncher::RunAndWait(const std::string& command_line, DWORD* exit_code) {
  PROCESS_INFORMATION process = {};
  if (!CreateShownProcess(command_line, SW_HIDE, &process)) return false;
  WaitForSingleObject(process.hProcess, INFINITE);
  const bool known = GetExitCodeProcess(process.hProcess, exit_code) != FALSE;
  CloseHandle(process.hProcess);
  return known;
}

CLauncher& Launcher() { return *g_current; }

CLauncher* SetLauncher(CLauncher* launcher) {
  CLauncher* old = g_current == &g_real ? nullptr : g_current;
  g_current = launcher != nullptr ? launcher : &g_real;
  return old;
}
