#include "framework/status_bar.h"

#include <commctrl.h>

#include "framework/framework_ids.h"
#include "framework/win_app.h"

namespace {
const int kPaneMargin = 12;
}

bool CStatusBar::Create(CWnd* parent, DWORD style, UINT id) {
  RECT rect = {0, 0, 0, 0};
  return CreateEx(0, STATUSCLASSNAMEA, "", style | SBARS_SIZEGRIP | CCS_BOTTOM, rect,
                  parent->GetSafeHwnd(), id);
}

int CStatusBar::TextWidth(const std::string& text) const {
  HDC dc = GetDC(hwnd_);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)));
  SIZE size = {0, 0};
  GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(hwnd_, dc);
  return size.cx + kPaneMargin;
}

bool CStatusBar::SetIndicators(const UINT* ids, int count) {
  panes_.clear();
  for (int i = 0; i < count; ++i) {
    Pane pane{ids[i], SBPS_NORMAL, 0, ""};
    if (ids[i] == ID_SEPARATOR) {
      pane.style = SBPS_NOBORDERS | SBPS_STRETCH;
    } else {
      std::string text = LoadResourceString(ids[i]);
      if (text.empty()) return false;
      pane.width = TextWidth(text);
    }
    panes_.push_back(pane);
  }
  Layout();
  return true;
}

bool CStatusBar::SetPaneInfo(int index, UINT id, UINT style, int width) {
  if (index < 0 || index >= GetCount()) return false;
  panes_[index].id = id;
  panes_[index].style = style;
  panes_[index].width = width;
  Layout();
  return true;
}

void CStatusBar::Layout() {
  if (hwnd_ == nullptr || panes_.empty()) return;
  RECT client;
  GetClientRect(hwnd_, &client);
  int grip = GetSystemMetrics(SM_CXVSCROLL);
  int fixed = 0;
  for (const Pane& pane : panes_) {
    if ((pane.style & SBPS_STRETCH) == 0) fixed += pane.width;
  }
  int stretch = client.right - grip - fixed;
  std::vector<int> edges;
  int right = 0;
  for (const Pane& pane : panes_) {
    right += (pane.style & SBPS_STRETCH) != 0 ? (stretch > 0 ? stretch : 0) : pane.width;
    edges.push_back(right);
  }
  edges.back() = -1;  // the last pane reaches the grip
  SendMessage(SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
  for (size_t i = 0; i < panes_.size(); ++i) {
    UINT type = (panes_[i].style & SBPS_NOBORDERS) != 0 ? SBT_NOBORDERS
                : (panes_[i].style & SBPS_POPOUT) != 0  ? SBT_POPOUT
                                                        : 0;
    SendMessage(SB_SETTEXTA, i | type, reinterpret_cast<LPARAM>(panes_[i].text.c_str()));
  }
}

void CStatusBar::SetPaneText(int index, const std::string& text) {
  if (index < 0 || index >= GetCount()) return;
  if (panes_[index].text == text) return;
  panes_[index].text = text;
  Layout();
}

std::string CStatusBar::GetPaneText(int index) const {
  if (index < 0 || index >= GetCount()) return "";
  return panes_[index].text;
}

void CStatusBar::UpdateIndicators() {
  static const struct {
    UINT id;
    int key;
  } kIndicators[] = {
      {ID_INDICATOR_CAPS, VK_CAPITAL}, {ID_INDICATOR_NUM, VK_NUMLOCK}, {ID_INDICATOR_SCRL, VK_SCROLL}};
  for (int i = 0; i < GetCount(); ++i) {
    for (const auto& indicator : kIndicators) {
      if (panes_[i].id != indicator.id) continue;
      bool on = (GetKeyState(indicator.key) & 1) != 0;
      SetPaneText(i, on ? LoadResourceString(indicator.id) : "");
    }
  }
}

LRESULT CStatusBar::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = CWnd::WindowProc(msg, wp, lp);
  if (msg == WM_SIZE) Layout();
  return result;
}
