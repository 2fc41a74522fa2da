#include "framework/wnd.h"

#include <mutex>
#include <unordered_map>
#include <vector>

namespace {

// Windows to their objects. Kept in the process rather than in a window property: a property
// lookup is a round trip to the window server under Wine, and this one is asked on every
// message.
std::mutex g_map_lock;
std::unordered_map<HWND, CWnd*>& WindowMap() {
  static std::unordered_map<HWND, CWnd*> map;
  return map;
}

thread_local CWnd* t_binding = nullptr;
thread_local HHOOK t_hook = nullptr;

}  // namespace

CWnd::~CWnd() {
  if (hwnd_ != nullptr) {
    HWND hwnd = hwnd_;
    Detach();
    ::DestroyWindow(hwnd);
  }
}

CWnd* CWnd::FromHandle(HWND hwnd) {
  if (hwnd == nullptr) return nullptr;
  std::lock_guard<std::mutex> hold(g_map_lock);
  auto found = WindowMap().find(hwnd);
  return found != WindowMap().end() ? found->second : nullptr;
}

void CWnd::BindNextWindow() {
  t_binding = this;
  if (t_hook == nullptr)
    t_hook = SetWindowsHookExA(WH_CBT, CreationHook, nullptr, GetCurrentThreadId());
}

LRESULT CALLBACK CWnd::CreationHook(int code, WPARAM wp, LPARAM lp) {
  if (code == HCBT_CREATEWND && t_binding != nullptr) {
    CWnd* wnd = t_binding;
    t_binding = nullptr;
    UnhookWindowsHookEx(t_hook);
    t_hook = nullptr;
    wnd->Attach(reinterpret_cast<HWND>(wp));
    return 0;
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

bool CWnd::CreateEx(DWORD ex_style, const char* window_class, const char* text, DWORD style,
                    const RECT& rect, HWND parent, UINT id_or_menu, void* param) {
  CREATESTRUCTA cs = {};
  cs.dwExStyle = ex_style;
  cs.lpszClass = window_class;
  cs.lpszName = text;
  cs.style = style;
  cs.x = rect.left;
  cs.y = rect.top;
  cs.cx = rect.right - rect.left;
  cs.cy = rect.bottom - rect.top;
  cs.hwndParent = parent;
  cs.hMenu = reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id_or_menu));
  cs.hInstance = GetModuleHandleA(nullptr);
  cs.lpCreateParams = param;
  if (!PreCreateWindow(cs)) return false;
  BindNextWindow();
  HWND hwnd = CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, cs.style, cs.x, cs.y,
                              cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance,
                              cs.lpCreateParams);
  if (t_binding == this) {  // the class could not be found: nothing was created
    t_binding = nullptr;
    if (t_hook != nullptr) UnhookWindowsHookEx(t_hook);
    t_hook = nullptr;
  }
  return hwnd != nullptr && hwnd_ == hwnd;
}

bool CWnd::SubclassWindow(HWND hwnd) {
  if (hwnd == nullptr || hwnd_ != nullptr || FromHandle(hwnd) != nullptr) return false;
  Attach(hwnd);
  return true;
}

bool CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
  return SubclassWindow(::GetDlgItem(parent->GetSafeHwnd(), id));
}

void CWnd::Attach(HWND hwnd) {
  hwnd_ = hwnd;
  {
    std::lock_guard<std::mutex> hold(g_map_lock);
    WindowMap()[hwnd] = this;
  }
  previous_proc_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(StandardProc)));
}

void CWnd::Detach() {
  if (hwnd_ == nullptr) return;
  SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_proc_));
  {
    std::lock_guard<std::mutex> hold(g_map_lock);
    WindowMap().erase(hwnd_);
  }
  hwnd_ = nullptr;
}

void CWnd::DestroyWindow() {
  if (hwnd_ != nullptr) ::DestroyWindow(hwnd_);
}

bool CWnd::PreCreateWindow(CREATESTRUCTA&) { return true; }
bool CWnd::PreTranslateMessage(MSG*) { return false; }
bool CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*) { return false; }

CWnd* CWnd::GetParent() const { return FromHandle(::GetParent(hwnd_)); }

std::string CWnd::GetWindowText() const {
  int length = GetWindowTextLengthA(hwnd_);
  std::vector<char> text(length + 1);
  ::GetWindowTextA(hwnd_, text.data(), length + 1);
  return text.data();
}

void CWnd::ModifyStyle(DWORD remove, DWORD add) {
  SetWindowLongPtrA(hwnd_, GWL_STYLE, static_cast<LONG_PTR>((GetStyle() & ~remove) | add));
}

LRESULT CALLBACK CWnd::StandardProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  CWnd* wnd = FromHandle(hwnd);
  if (wnd == nullptr) return ::DefWindowProcA(hwnd, msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    LRESULT result = wnd->WindowProc(msg, wp, lp);
    wnd->Detach();
    wnd->PostNcDestroy();
    return result;
  }
  return wnd->WindowProc(msg, wp, lp);
}

LRESULT CWnd::DefWindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (previous_proc_ != nullptr && previous_proc_ != StandardProc)
    return CallWindowProcA(previous_proc_, hwnd_, msg, wp, lp);
  return ::DefWindowProcA(hwnd_, msg, wp, lp);
}

LRESULT CWnd::ReflectToChild(UINT msg, WPARAM wp, LPARAM lp, bool* done) {
  HWND child = nullptr;
  switch (msg) {
    case WM_DRAWITEM:
      child = reinterpret_cast<DRAWITEMSTRUCT*>(lp)->hwndItem;
      break;
    case WM_NOTIFY:
      child = reinterpret_cast<NMHDR*>(lp)->hwndFrom;
      break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      child = reinterpret_cast<HWND>(lp);
      break;
    default:
      break;
  }
  CWnd* target = FromHandle(child);
  LRESULT result = 0;
  *done = target != nullptr && target != this && target->OnChildNotify(msg, wp, lp, &result);
  return result;
}

LRESULT CWnd::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      // Menu items, accelerators and button clicks of this window's own command map.
      if ((lp == 0 || HIWORD(wp) == BN_CLICKED) && OnCmdMsg(LOWORD(wp), nullptr)) return 0;
      break;
    case WM_DRAWITEM:
    case WM_NOTIFY:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX: {
      bool done = false;
      LRESULT result = ReflectToChild(msg, wp, lp, &done);
      if (done) return result;
      break;
    }
    default:
      break;
  }
  return DefWindowProc(msg, wp, lp);
}

const char* RegisterFrameworkClass(const char* name, UINT class_style, HBRUSH background,
                                   HICON icon) {
  WNDCLASSEXA existing = {};
  existing.cbSize = sizeof existing;
  HINSTANCE instance = GetModuleHandleA(nullptr);
  if (GetClassInfoExA(instance, name, &existing)) return name;
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof wc;
  wc.style = class_style;
  wc.lpfnWndProc = DefWindowProcA;  // replaced by the binding at creation
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = background;
  wc.hIcon = icon;
  wc.lpszClassName = name;
  RegisterClassExA(&wc);
  return name;
}
