// Times the console scan against the plain scan it replaced, and the GUI's start-up list and
// tab switches, on whatever registry the prefix holds; the figures are for bench/scale.sh.
//   corvane_scale_timing FOLDER ROUNDS
// FOLDER is the build folder: corvane.exe, corvane-cli.exe, bench\\corvane_baseline_list.exe.
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr int kObjectListId = 1045;
constexpr int kCategoryTabsId = 1003;

double Now() {
  LARGE_INTEGER frequency, count;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&count);
  return static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Runs a console program with its output in out_path; the seconds it took, or -1.
double RunConsole(const std::string& command, const std::string& out_path) {
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  HANDLE out = CreateFileA(out_path.c_str(), GENERIC_WRITE, 0, &inherit, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  if (out == INVALID_HANDLE_VALUE) return -1;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = out;
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION process = {};
  std::vector<char> line(command.begin(), command.end());
  line.push_back('\0');
  const double start = Now();
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                      &startup, &process)) {
    CloseHandle(out);
    return -1;
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  const double seconds = Now() - start;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  CloseHandle(out);
  return seconds;
}

struct Found {
  DWORD process_id;
  HWND list = nullptr;
  HWND tabs = nullptr;
  HWND frame = nullptr;
};

BOOL CALLBACK FindChild(HWND hwnd, LPARAM lp) {
  auto* found = reinterpret_cast<Found*>(lp);
  const int id = GetDlgCtrlID(hwnd);
  if (id == kObjectListId) found->list = hwnd;
  if (id == kCategoryTabsId) found->tabs = hwnd;
  return TRUE;
}

BOOL CALLBACK FindFrame(HWND hwnd, LPARAM lp) {
  auto* found = reinterpret_cast<Found*>(lp);
  DWORD owner = 0;
  GetWindowThreadProcessId(hwnd, &owner);
  if (owner != found->process_id || !IsWindowVisible(hwnd)) return TRUE;
  Found children = *found;
  EnumChildWindows(hwnd, FindChild, reinterpret_cast<LPARAM>(&children));
  if (children.list == nullptr) return TRUE;
  *found = children;
  found->frame = hwnd;
  return FALSE;
}

LRESULT Ask(HWND hwnd, UINT msg, WPARAM wp) {
  DWORD_PTR answer = 0;
  SendMessageTimeoutA(hwnd, msg, wp, 0, SMTO_NORMAL, 120000, &answer);
  return static_cast<LRESULT>(answer);
}

struct GuiFigures {
  double list_up = -1;
  double switch_seconds[2] = {-1, -1};
  long items[3] = {0, 0, 0};
  double peak_mb = -1;
  double start_peak_mb = -1;  // with the first tab's list up
};

double PeakMb(HANDLE process) {
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(process, &counters, sizeof counters)) return -1;
  return static_cast<double>(counters.PeakWorkingSetSize) / (1024.0 * 1024.0);
}

GuiFigures RunGui(const std::string& program) {
  GuiFigures figures;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  std::string command = "\"" + program + "\"";
  std::vector<char> line(command.begin(), command.end());
  line.push_back('\0');
  const double start = Now();
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process))
    return figures;
  Found found{process.dwProcessId};
  while (Now() - start < 300) {
    found = Found{process.dwProcessId};
    EnumWindows(FindFrame, reinterpret_cast<LPARAM>(&found));
    if (found.list != nullptr && Ask(found.list, LVM_GETITEMCOUNT, 0) > 0) break;
    Sleep(50);  // asking often would slow the program down: each look is a server call
  }
  figures.list_up = Now() - start;
  if (found.list != nullptr) {
    figures.items[0] = static_cast<long>(Ask(found.list, LVM_GETITEMCOUNT, 0));
    figures.start_peak_mb = PeakMb(process.hProcess);
    for (int tab = 1; tab <= 2; ++tab) {
      const double before = Now();
      // Without buttons, moving the focus selects the tab and notifies the view.
      Ask(found.tabs, TCM_SETCURFOCUS, tab);
      Ask(found.list, LVM_GETITEMCOUNT, 0);
      figures.switch_seconds[tab - 1] = Now() - before;
      figures.items[tab] = static_cast<long>(Ask(found.list, LVM_GETITEMCOUNT, 0));
    }
    figures.peak_mb = PeakMb(process.hProcess);
    Ask(found.tabs, TCM_SETCURFOCUS, 0);
    PostMessageA(found.frame, WM_CLOSE, 0, 0);
  }
  if (WaitForSingleObject(process.hProcess, 30000) != WAIT_OBJECT_0)
    TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return figures;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: corvane_scale_timing FOLDER [ROUNDS]\n");
    return 2;
  }
  const std::string folder = argv[1];
  const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
  std::vector<double> baseline, scan, list_up, switch_dll, switch_exe, peak, start_peak;
  GuiFigures last;
  bool same = true;
  // "gui" as a third argument times the GUI alone.
  const bool gui_only = argc > 3 && std::string(argv[3]) == "gui";
  for (int round = 0; round < rounds; ++round) {
    if (!gui_only) baseline.push_back(RunConsole("\"" + folder + "\\bench\\corvane_baseline_list.exe\"", "baseline.txt"));
    if (!gui_only) scan.push_back(RunConsole("\"" + folder + "\\corvane-cli.exe\" list", "scan.txt"));
    same = same && ReadFile("baseline.txt") == ReadFile("scan.txt");
    last = RunGui(folder + "\\corvane.exe");
    list_up.push_back(last.list_up);
    switch_dll.push_back(last.switch_seconds[0]);
    switch_exe.push_back(last.switch_seconds[1]);
    peak.push_back(last.peak_mb);
    start_peak.push_back(last.start_peak_mb);
  }
  const double scan_s = Median(scan), baseline_s = Median(baseline);
  const std::string listed = ReadFile("scan.txt");
  std::printf("records listed: %ld\n", static_cast<long>(std::count(listed.begin(), listed.end(), '\n')));
  std::printf("console list: %.2f s, plain scan before: %.2f s, ratio %.2f (goal <= 0.50)\n",
              scan_s, baseline_s, baseline_s > 0 ? scan_s / baseline_s : 0);
  std::printf("output identical to the plain scan: %s\n", same ? "yes" : "NO");
  std::printf("GUI list up after start: %.2f s, %.2f times the console scan (goal <= 1.10)\n",
              Median(list_up), scan_s > 0 ? Median(list_up) / scan_s : 0);
  std::printf("tab switch to DLL Servers (%ld items): %.3f s (goal < 1 s)\n", last.items[1],
              Median(switch_dll));
  std::printf("tab switch to EXE Servers (%ld items): %.3f s\n", last.items[2],
              Median(switch_exe));
  std::printf("GUI peak working set with the first tab up: %.1f MB\n", Median(start_peak));
  std::printf("GUI peak working set after all three tabs: %.1f MB (goal < 50 MB)\n",
              Median(peak));
  return same ? 0 : 1;
}
