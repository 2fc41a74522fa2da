#include "framework/frame_wnd.h"

#include <commctrl.h>

#include <algorithm>

#include "framework/cmd_ui.h"
#include "framework/framework_ids.h"
#include "framework/status_bar.h"
#include "framework/tool_bar.h"
#include "framework/win_app.h"

namespace {

// The text after the newline of a command's string: its tooltip.
std::string TooltipText(UINT id) {
  std::string text = LoadResourceString(id);
  size_t newline = text.find('\n');
  return newline == std::string::npos ? text : text.substr(newline + 1);
}

BOOL CALLBACK CollectView(HWND hwnd, LPARAM lp) {
  if (auto* view = dynamic_cast<CView*>(CWnd::FromHandle(hwnd)))
    reinterpret_cast<std::vector<CView*>*>(lp)->push_back(view);
  return TRUE;
}

}  // namespace

CFrameWnd::CFrameWnd() {
  MapCommand(ID_VIEW_TOOLBAR, [this] { ToggleBar(true); });
  MapUpdate(ID_VIEW_TOOLBAR, [this](CCmdUI& ui) {
    ui.Enable(dock_ != nullptr);
    ui.SetCheck(dock_ != nullptr && IsWindowVisible(dock_));
  });
  MapCommand(ID_VIEW_STATUS_BAR, [this] { ToggleBar(false); });
  MapUpdate(ID_VIEW_STATUS_BAR, [this](CCmdUI& ui) {
    ui.Enable(status_bar_ != nullptr);
    ui.SetCheck(status_bar_ != nullptr && IsWindowVisible(*status_bar_));
  });
  MapCommand(ID_NEXT_PANE, [this] { ActivateNextPane(false); });
  MapCommand(ID_PREV_PANE, [this] { ActivateNextPane(true); });
}

bool CFrameWnd::LoadFrame(UINT resource_id, DWORD style, CWnd* parent,
                          CCreateContext* context) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  HICON icon = LoadIconA(instance, MAKEINTRESOURCEA(resource_id));
  const char* window_class = RegisterFrameworkClass(
      "CorvaneFrame", CS_DBLCLKS, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), icon);
  menu_ = LoadMenuA(instance, MAKEINTRESOURCEA(resource_id));
  accelerators_ = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(resource_id));
  context_ = context;
  bool destroyed = false;
  destroyed_ = &destroyed;
  RECT rect = {0, 0, 0, 0};
  bool made = CreateEx(0, window_class, "", style | WS_CLIPCHILDREN, rect,
                       parent != nullptr ? parent->GetSafeHwnd() : nullptr,
                       static_cast<UINT>(reinterpret_cast<UINT_PTR>(menu_)));
  if (destroyed) return false;
  destroyed_ = nullptr;
  context_ = nullptr;
  if (!made) {
    if (menu_ != nullptr) DestroyMenu(menu_);
    delete this;
    return false;
  }
  RecalcLayout();
  return true;
}

bool CFrameWnd::PreCreateWindow(CREATESTRUCTA& cs) {
  if (cs.cx == 0 && cs.cy == 0) cs.x = cs.y = cs.cx = cs.cy = CW_USEDEFAULT;
  return true;
}

void CFrameWnd::PostNcDestroy() {
  if (destroyed_ != nullptr) *destroyed_ = true;
  delete this;
}

int CFrameWnd::OnCreate(CREATESTRUCTA* cs) { return OnCreateClient(cs, context_) ? 0 : -1; }

bool CFrameWnd::OnCreateClient(CREATESTRUCTA*, CCreateContext* context) {
  if (context == nullptr || !context->new_view) return true;
  CView* view = context->new_view();
  RECT rect = {0, 0, 0, 0};
  if (!view->Create(this, AFX_PANE_ID, rect, context)) {
    if (view->GetSafeHwnd() == nullptr) delete view;
    return false;
  }
  SetActiveView(view, false);
  return true;
}

void CFrameWnd::SetActiveView(CView* view, bool focus) {
  active_view_ = view;
  if (focus && view != nullptr) SetFocus(view->GetSafeHwnd());
}

void CFrameWnd::EnableDocking() {
  if (dock_ != nullptr) return;
  dock_ = CreateWindowExA(WS_EX_TOOLWINDOW, REBARCLASSNAMEA, "",
                          WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN |
                              RBS_VARHEIGHT | RBS_BANDBORDERS | CCS_NODIVIDER |
                              CCS_NOPARENTALIGN | CCS_TOP,
                          0, 0, 0, 0, hwnd_, nullptr, GetModuleHandleA(nullptr), nullptr);
}

void CFrameWnd::DockControlBar(CToolBar* bar) {
  if (dock_ == nullptr) EnableDocking();
  HWND toolbar = bar->GetSafeHwnd();
  SetParent(toolbar, dock_);
  SIZE size = {0, 0};
  ::SendMessageA(toolbar, TB_GETMAXSIZE, 0, reinterpret_cast<LPARAM>(&size));
  REBARBANDINFOA band = {};
  band.cbSize = sizeof band;
  band.fMask = RBBIM_STYLE | RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE | RBBIM_ID;
  band.fStyle = RBBS_CHILDEDGE | RBBS_GRIPPERALWAYS;
  band.hwndChild = toolbar;
  band.cxMinChild = size.cx;
  band.cyMinChild = size.cy;
  band.wID = static_cast<UINT>(toolbars_.size());
  // The new band takes the rest of the row; the ones before it keep their buttons' width, so
  // the bars line up from the left.
  band.cx = 0x7FFF;
  ::SendMessageA(dock_, RB_INSERTBANDA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&band));
  for (size_t i = 0; i < toolbars_.size(); ++i) {
    REBARBANDINFOA before = {};
    before.cbSize = sizeof before;
    before.fMask = RBBIM_SIZE;
    ::SendMessageA(toolbars_[i]->GetSafeHwnd(), TB_GETMAXSIZE, 0, reinterpret_cast<LPARAM>(&size));
    before.cx = size.cx + 16;
    ::SendMessageA(dock_, RB_SETBANDINFOA, i, reinterpret_cast<LPARAM>(&before));
  }
  toolbars_.push_back(bar);
  RecalcLayout();
}

void CFrameWnd::RecalcLayout() {
  if (hwnd_ == nullptr || IsIconic(hwnd_)) return;
  RECT client;
  GetClientRect(hwnd_, &client);
  int top = 0;
  int bottom = client.bottom;
  if (dock_ != nullptr && IsWindowVisible(dock_)) {
    RECT bar;
    GetWindowRect(dock_, &bar);
    MoveWindow(dock_, 0, 0, client.right, bar.bottom - bar.top, TRUE);
    GetWindowRect(dock_, &bar);  // the rebar fits its own height to its bands
    top = bar.bottom - bar.top;
  }
  if (status_bar_ != nullptr && IsWindowVisible(*status_bar_)) {
    status_bar_->SendMessage(WM_SIZE, 0, 0);
    RECT bar;
    GetWindowRect(*status_bar_, &bar);
    bottom -= bar.bottom - bar.top;
  }
  if (HWND pane = PaneWindow())
    MoveWindow(pane, 0, top, client.right, std::max(0, bottom - top), TRUE);
}

void CFrameWnd::OnIdleUpdateCmdUI() {
  for (CToolBar* bar : toolbars_) {
    if (IsWindowVisible(*bar)) bar->UpdateButtons(*this);
  }
  if (status_bar_ != nullptr) status_bar_->UpdateIndicators();
}

bool CFrameWnd::TranslateAccelerators(MSG* msg) {
  return accelerators_ != nullptr && TranslateAcceleratorA(hwnd_, accelerators_, msg) != 0;
}

bool CFrameWnd::OnCmdMsg(UINT id, CCmdUI* ui) {
  if (active_view_ != nullptr && active_view_->OnCmdMsg(id, ui)) return true;
  if (CCmdTarget::OnCmdMsg(id, ui)) return true;
  CWinApp* app = AfxGetApp();
  return app != nullptr && app->OnCmdMsg(id, ui);
}

void CFrameWnd::RouteCommand(UINT id) {
  // A disabled command does not run, whether it came from the menu, a key or a button.
  CTestCmdUI state(id);
  state.DoUpdate(*this);
  if (state.enabled) OnCmdMsg(id, nullptr);
}

void CFrameWnd::SetMessageText(UINT prompt_id) {
  if (status_bar_ == nullptr) return;
  std::string text = LoadResourceString(prompt_id != 0 ? prompt_id : AFX_IDS_IDLEMESSAGE);
  status_bar_->SetPaneText(0, text.substr(0, text.find('\n')));
}

void CFrameWnd::UpdateMenuPopup(HMENU popup) {
  int count = GetMenuItemCount(popup);
  for (int i = 0; i < count; ++i) {
    UINT id = GetMenuItemID(popup, i);
    if (id == 0 || id == static_cast<UINT>(-1)) continue;  // separator or submenu
    CMenuCmdUI ui(popup, i, id);
    ui.DoUpdate(*this);
  }
}

void CFrameWnd::OnMenuSelect(UINT id, UINT flags, HMENU menu) {
  if (flags == 0xFFFF && menu == nullptr) {
    SetMessageText(0);
  } else if ((flags & (MF_POPUP | MF_SEPARATOR | MF_SYSMENU)) != 0) {
    if (status_bar_ != nullptr) status_bar_->SetPaneText(0, "");
  } else {
    SetMessageText(id);
  }
}

bool CFrameWnd::OnToolbarNotify(NMHDR* header, LRESULT* result) {
  static char text_a[256];
  static wchar_t text_w[256];
  switch (header->code) {
    case TTN_GETDISPINFOA: {
      auto* info = reinterpret_cast<NMTTDISPINFOA*>(header);
      lstrcpynA(text_a, TooltipText(static_cast<UINT>(header->idFrom)).c_str(), sizeof text_a);
      info->lpszText = text_a;
      *result = 0;
      return true;
    }
    case TTN_GETDISPINFOW: {
      auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
      std::string tip = TooltipText(static_cast<UINT>(header->idFrom));
      MultiByteToWideChar(CP_ACP, 0, tip.c_str(), -1, text_w, 256);
      info->lpszText = text_w;
      *result = 0;
      return true;
    }
    case TBN_HOTITEMCHANGE: {
      auto* hot = reinterpret_cast<NMTBHOTITEM*>(header);
      auto* bar = dynamic_cast<CToolBar*>(CWnd::FromHandle(header->hwndFrom));
      if (bar != nullptr && (bar->bar_style() & CBRS_FLYBY) != 0)
        SetMessageText((hot->dwFlags & HICF_LEAVING) != 0 ? 0 : hot->idNew);
      *result = 0;
      return true;
    }
    default:
      return false;
  }
}

void CFrameWnd::ToggleBar(bool toolbars) {
  HWND bar = toolbars ? dock_ : (status_bar_ != nullptr ? status_bar_->GetSafeHwnd() : nullptr);
  if (bar == nullptr) return;
  ShowWindow(bar, IsWindowVisible(bar) ? SW_HIDE : SW_SHOW);
  RecalcLayout();
}

void CFrameWnd::ActivateNextPane(bool previous) {
  std::vector<CView*> views;
  EnumChildWindows(hwnd_, CollectView, reinterpret_cast<LPARAM>(&views));
  if (views.empty()) return;
  // Left to right, then top to bottom: the order the panes read in.
  std::sort(views.begin(), views.end(), [](CView* a, CView* b) {
    RECT ra, rb;
    GetWindowRect(*a, &ra);
    GetWindowRect(*b, &rb);
    return ra.left != rb.left ? ra.left < rb.left : ra.top < rb.top;
  });
  auto at = std::find(views.begin(), views.end(), active_view_);
  size_t index = at == views.end() ? 0 : static_cast<size_t>(at - views.begin());
  size_t count = views.size();
  size_t next = at == views.end() ? 0 : (previous ? index + count - 1 : index + 1) % count;
  SetActiveView(views[next], true);
}

LRESULT CFrameWnd::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE:
      return OnCreate(reinterpret_cast<CREATESTRUCTA*>(lp));
    case WM_SIZE:
      RecalcLayout();
      return 0;
    case WM_SETFOCUS:
      if (active_view_ != nullptr) {
        SetFocus(*active_view_);
        return 0;
      }
      break;
    case WM_COMMAND: {
      HWND from = reinterpret_cast<HWND>(lp);
      bool from_bar = from != nullptr && dynamic_cast<CToolBar*>(FromHandle(from)) != nullptr;
      if (from == nullptr || from_bar) {
        RouteCommand(LOWORD(wp));
        return 0;
      }
      break;
    }
    case WM_INITMENUPOPUP:
      if (HIWORD(lp) == 0) UpdateMenuPopup(reinterpret_cast<HMENU>(wp));
      return 0;
    case WM_MENUSELECT:
      OnMenuSelect(LOWORD(wp), HIWORD(wp), reinterpret_cast<HMENU>(lp));
      return 0;
    case WM_EXITMENULOOP:
      SetMessageText(0);
      break;
    case WM_NOTIFY: {
      LRESULT result = 0;
      if (OnToolbarNotify(reinterpret_cast<NMHDR*>(lp), &result)) return result;
      if (reinterpret_cast<NMHDR*>(lp)->hwndFrom == dock_ &&
          reinterpret_cast<NMHDR*>(lp)->code == RBN_HEIGHTCHANGE) {
        RecalcLayout();
        return 0;
      }
      break;
    }
    case WM_DESTROY:
      if (CWinApp* app = AfxGetApp()) {
        if (app->main_window() == this) {
          app->set_main_window(nullptr);
          PostQuitMessage(0);
        }
      }
      break;
    default:
      break;
  }
  return CWnd::WindowProc(msg, wp, lp);
}
