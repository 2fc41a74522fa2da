// Every hand-over to another program (the shell, WinExec, the help viewer, a new process)
// goes through the one launcher, so that tests can record what would start instead of
// leaving a browser, file manager, editor or help viewer waiting for input.
#pragma once
#include <windows.h>

#include <string>

class CLauncher {
 public:
  virtual ~CLauncher() = default;
  // ShellExecuteExA of `target` with `verb` (empty: the default action). The shell's own
  // code: above 32 on success.
  virtual int RunShell(const std::string& target, const std::string& verb,
                            const std::string& parameters, int show);
  // WinExec's own result: above 31 on success.
  virtual UINT RunCommand(const std::string& command_line, int show);
  // WinHelpA's own result. A help file named without a folder that lies beside the program
  // is handed over with its folder.
  virtual BOOL ShowHelp(HWND owner, const std::string& file, UINT command, ULONG_PTR data);
  // CreateProcessA of a command line; the process handle is closed. True on success.
  virtual bool StartProcess(const std::string& command_line, int show);
  // CreateProcessA of a command line, hidden, then waits for its end: true and its exit code,
  // or false when it did not start.
  virtual bool RunAndWait(const std::string& command_line, DWORD* exit_code);
};

// The launcher in use: the real one unless a test has put its own in place.
CLauncher& Launcher();
// Puts `launcher` in place of the real one (nullptr: the real one again); returns the old one.
CLauncher* SetLauncher(CLauncher* launcher);
