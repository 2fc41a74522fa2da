#include "widgets/dialog_layout.h"

#include <string>

using corvane::LayoutEntry;

namespace {

// The client area first, then every child in z-order, then the end marker.
std::vector<LayoutEntry> Snapshot(HWND window) {
  std::vector<LayoutEntry> entries;
  RECT client = {};
  GetClientRect(window, &client);
  entries.push_back(corvane::MakeLayoutEntry(corvane::kLayoutDialogId, client.left, client.top,
                                             client.right, client.bottom));
  for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    RECT rect = {};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
    entries.push_back(corvane::MakeLayoutEntry(GetDlgCtrlID(child), rect.left, rect.top,
                                               rect.right, rect.bottom));
  }
  entries.push_back(corvane::MakeLayoutEntry(corvane::kLayoutEndOfControls, 0, 0, 0, 0));
  return entries;
}

bool IsDialog(HWND window) {
  char name[16] = "";
  GetClassNameA(window, name, sizeof name);
  return std::string(name) == "#32770";
}

corvane::DialogBaseUnits BaseUnits(HWND window) {
  if (IsDialog(window)) {
    RECT units = {0, 0, 4, 8};
    MapDialogRect(window, &units);
    return {units.right, units.bottom};
  }
  static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
  SIZE extent = {};
  HDC dc = GetDC(window);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(window, WM_GETFONT, 0, 0)));
  GetTextExtentPoint32A(dc, kLetters, 52, &extent);
  SelectObject(dc, old);
  ReleaseDC(window, dc);
  return corvane::BaseUnitsFromTextExtent(extent.cx, extent.cy);
}

}  // namespace

bool ApplyLayoutRules(HWND window, const std::vector<corvane::LayoutRule>& rules) {
  if (IsIconic(window)) return false;
  std::vector<LayoutEntry> entries = Snapshot(window);
  corvane::LayoutOutcome outcome = corvane::SolveLayout(entries, rules, BaseUnits(window));
  if (!outcome.applied()) {
    MessageBoxA(window, outcome.assertion.c_str(), "Assertion Failed", MB_OK | MB_ICONSTOP);
    return false;
  }
  if (!outcome.unresolved.empty()) {
    char module[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, module, sizeof module);
    for (const std::string& text : outcome.unresolved)
      MessageBoxA(window, text.c_str(), module, MB_OK);
  }

  std::vector<HWND> moved;
  HDWP batch = BeginDeferWindowPos(static_cast<int>(entries.size()));
  for (const LayoutEntry& entry : entries) {
    if (entry.unchanged || entry.id == corvane::kLayoutDialogId ||
        entry.id == corvane::kLayoutEndOfControls)
      continue;
    HWND child = GetDlgItem(window, entry.id);
    if (child == nullptr) continue;
    const std::int32_t* m = entry.metric;
    if (batch != nullptr)
      batch = DeferWindowPos(batch, child, nullptr, m[corvane::kMetricLeft],
                             m[corvane::kMetricTop], m[corvane::kMetricWidth],
                             m[corvane::kMetricHeight], SWP_NOZORDER | SWP_NOACTIVATE);
    moved.push_back(child);
  }
  if (batch != nullptr) EndDeferWindowPos(batch);
  for (HWND child : moved) InvalidateRect(child, nullptr, TRUE);
  // What the controls uncovered is the window's own background again.
  if (!moved.empty()) InvalidateRect(window, nullptr, TRUE);
  return true;
}
