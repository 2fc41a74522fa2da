// Opening through the shell: a file runs with its default action even from a folder with
// blanks, and an empty target starts no process at all. Batch files stand in for documents:
// opening them is harmless under Wine and leaves a visible trace.
#include "app/shell_tools.h"

#include <tlhelp32.h>
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <string>

namespace {

std::string TempFolder() {
  char temp[MAX_PATH] = "";
  GetTempPathA(MAX_PATH, temp);
  return temp;
}

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool AppearsWithin(const std::string& path, DWORD wait_ms) {
  for (DWORD waited = 0;; waited += 100) {
    if (Exists(path)) return true;
    if (waited >= wait_ms) return false;
    Sleep(100);
  }
}

void WriteScript(const std::string& path, const std::string& body) {
  std::ofstream(path, std::ios::binary) << "@echo off\r\n" << body;
}

// Processes this one has started that are still running.
std::set<DWORD> Children() {
  std::set<DWORD> children;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return children;
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
    if (entry.th32ParentProcessID == GetCurrentProcessId()) children.insert(entry.th32ProcessID);
  CloseHandle(snapshot);
  return children;
}

// Processes in `now` that were not in `then`.
std::set<DWORD> Started(const std::set<DWORD>& now, const std::set<DWORD>& then) {
  std::set<DWORD> started;
  for (DWORD id : now)
    if (then.count(id) == 0) started.insert(id);
  return started;
}

TEST(ShellTools, OpenRunsTheDefaultActionOfAPathWithBlanks) {
  const std::string folder = TempFolder() + "Corvane shell test\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::string script = folder + "open me.bat";
  const std::string marker = folder + "opened.txt";
  DeleteFileA(marker.c_str());
  WriteScript(script, "echo opened> \"" + marker + "\"\r\n");
  ShellOpen(script);
  EXPECT_TRUE(AppearsWithin(marker, 10000));
  DeleteFileA(script.c_str());
  DeleteFileA(marker.c_str());
  RemoveDirectoryA(folder.c_str());
}

TEST(ShellTools, EmptyTargetStartsNothing) {
  // A script that runs until its stop file goes shows that started processes are seen.
  const std::string stop = TempFolder() + "corvane_shell_stop.txt";
  const std::string script = TempFolder() + "corvane_shell_wait.bat";
  std::ofstream(stop) << "run";
  WriteScript(script, ":wait\r\nif exist \"" + stop + "\" goto wait\r\n");
  const std::set<DWORD> before = Children();
  ShellOpen(script);
  Sleep(500);
  const std::set<DWORD> running = Children();
  DeleteFileA(stop.c_str());
  ASSERT_FALSE(Started(running, before).empty()) << "started processes cannot be seen here";

  for (int i = 0; i < 50 && !Started(Children(), before).empty(); ++i) Sleep(100);
  const std::set<DWORD> idle = Children();
  ShellOpen("");
  Sleep(1500);
  EXPECT_TRUE(Started(Children(), idle).empty());
  DeleteFileA(script.c_str());
}

}  // namespace
