#include "widgets/hyper_link.h"

#include <commctrl.h>

#include <vector>

#include "app/launcher.h"
#include "framework/framework_ids.h"
#include "framework/win_app.h"
#include "widgets/tool_tip.h"

namespace {

const WORD kWinHelpHandCursor = 106;

LinkColours g_colours = {RGB(0, 0, 255), RGB(0, 128, 128), RGB(128, 0, 128), RGB(255, 0, 0)};

struct ErrorReason {
  int code;
  const char* text;
};

const ErrorReason kReasons[] = {
    {0, "The operating system is out\nof memory or resources."},
    {2, "The specified file was not found."},
    {3, "The specified path was not found."},
    {5, "The operating system denied\naccess to the specified file."},
    {8, "There was not enough memory to complete the operation."},
    {11, "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."},
    {26, "A sharing violation occurred. "},
    {27, "The filename association is\nincomplete or invalid."},
    {28, "The DDE transaction could not\nbe completed because the request timed out."},
    {29, "The DDE transaction failed."},
    {30, "The DDE transaction could not\nbe completed because other DDE transactions\nwere "
         "being processed."},
    {31, "There is no application associated\nwith the given filename extension."},
    {32, "The specified dynamic-link library was not found."},
};

// The default value of a key below HKEY_CLASSES_ROOT; empty when there is none.
std::string ClassesDefaultValue(const std::string& subkey) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, subkey.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
    return "";
  DWORD type = 0;
  DWORD size = 0;
  std::string value;
  if (RegQueryValueExA(key, nullptr, nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
      (type == REG_SZ || type == REG_EXPAND_SZ)) {
    std::vector<char> data(size + 1, '\0');
    if (RegQueryValueExA(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                         &size) == ERROR_SUCCESS)
      value = data.data();
  }
  RegCloseKey(key);
  if (type == REG_EXPAND_SZ && !value.empty()) {
    DWORD needed = ExpandEnvironmentStringsA(value.c_str(), nullptr, 0);
    std::vector<char> expanded(needed + 1, '\0');
    if (needed > 0 && ExpandEnvironmentStringsA(value.c_str(), expanded.data(), needed + 1) > 0)
      value = expanded.data();
  }
  return value;
}

HCURSOR LoadHandCursor() {
  HCURSOR hand = nullptr;
  char folder[MAX_PATH] = "";
  UINT length = GetWindowsDirectoryA(folder, MAX_PATH);
  if (length > 0 && length < MAX_PATH) {
    std::string path = folder;
    if (path.back() != '\\') path += '\\';
    path += "winhlp32.exe";
    // Only its resources are wanted, so nothing of it runs or binds.
    HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (module != nullptr) {
      HCURSOR shared = LoadCursorA(module, MAKEINTRESOURCEA(kWinHelpHandCursor));
      // The copy outlives the library.
      if (shared != nullptr) hand = CopyCursor(shared);
      FreeLibrary(module);
    }
  }
  if (hand == nullptr) hand = LoadCursorA(nullptr, MAKEINTRESOURCEA(32649));  // IDC_HAND
  return hand;
}

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

RECT RectInParent(HWND hwnd) {
  RECT rect = {};
  GetWindowRect(hwnd, &rect);
  MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

POINT PointOf(LPARAM lp) {
  return {static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
}

}  // namespace

COLORREF ChooseLinkColour(const LinkColours& colours, DWORD flags, bool mouse_over, bool focused,
                          bool visited) {
  if (mouse_over && (flags & kLinkHoverColour)) return colours.hover;
  if ((flags & kLinkIgnoreFocusColour) || !focused) return visited ? colours.visited : colours.link;
  return colours.focus;
}

std::string LinkErrorText(int code) {
  std::string text = "Can't open link:\n\n";
  for (const ErrorReason& reason : kReasons)
    if (reason.code == code) return text + reason.text;
  return text + "Unknown Error (" + std::to_string(code) + ") occurred.";
}

std::string BrowserCommandLine(const std::string& command, const std::string& url) {
  size_t cut = command.find("\"%1\"");
  if (cut == std::string::npos) cut = command.find("%1");
  std::string line = command.substr(0, cut);
  // Quoted, so that blanks and quotes in the target stay one argument.
  std::string target;
  for (char c : url) target += c == '"' ? std::string("%22") : std::string(1, c);
  return line + " \"" + target + "\"";
}

int OpenUrl(const std::string& url, int show) {
  if (url.empty()) return ERROR_FILE_NOT_FOUND;
  int result = Launcher().RunShell(url, "open", "", show);
  if (result > 32) return result;
  std::string file_type = ClassesDefaultValue(".htm");
  if (file_type.empty()) return result;
  std::string command = ClassesDefaultValue(file_type + "\\shell\\open\\command");
  if (command.empty()) return result;
  return static_cast<int>(Launcher().RunCommand(BrowserCommandLine(command, url), show));
}

CHyperLink::CHyperLink() = default;

CHyperLink::~CHyperLink() {
  // The control must not outlive the font it draws with.
  if (hwnd_ != nullptr) ::DestroyWindow(hwnd_);
  if (font_ != nullptr) DeleteObject(font_);
}

LinkColours CHyperLink::GetColours() { return g_colours; }
void CHyperLink::SetColours(const LinkColours& colours) { g_colours = colours; }

HCURSOR CHyperLink::HandCursor() {
  static const HCURSOR hand = LoadHandCursor();
  return hand;
}

bool CHyperLink::SubclassWindow(HWND hwnd) {
  if (!CStatic::SubclassWindow(hwnd)) return false;
  OnSubclassed();
  return true;
}

bool CHyperLink::SubclassDlgItem(UINT id, CWnd* parent) {
  return SubclassWindow(::GetDlgItem(parent->GetSafeHwnd(), id));
}

void CHyperLink::OnSubclassed() {
  if (url_.empty()) url_ = GetWindowText();
  if (GetWindowText().empty()) ::SetWindowTextA(hwnd_, url_.c_str());
  HFONT base = font_ != nullptr ? font_ : reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
  ApplyFont(base);
  Refit();
  if (UseHandCursor()) HandCursor();
  CreateToolTip();
}

void CHyperLink::SetURL(const std::string& url) {
  url_ = url;
  if (hwnd_ == nullptr) return;
  Refit();
  UpdateToolTipText();
  Repaint();
}

void CHyperLink::SetLinkText(const std::string& text) {
  if (hwnd_ == nullptr) return;
  ::SetWindowTextA(hwnd_, text.c_str());
  Refit();
  UpdateToolTipRect();
  Repaint();
}

void CHyperLink::SetFont(HFONT font) {
  ApplyFont(font);
  Refit();
  Repaint();
}

void CHyperLink::SetLinkFlags(DWORD mask, DWORD values, bool redraw) {
  const DWORD old = flags_;
  flags_ = values | (flags_ & ~mask);
  if (hwnd_ == nullptr) return;
  if ((old ^ flags_) & kLinkUnderline) ApplyFont(font_);
  Refit();
  if (redraw) Repaint();
}

void CHyperLink::ApplyFont(HFONT base) {
  LOGFONTA description = {};
  HGDIOBJ source = base != nullptr ? static_cast<HGDIOBJ>(base) : GetStockObject(SYSTEM_FONT);
  if (GetObjectA(source, sizeof description, &description) == 0) return;
  description.lfUnderline = (flags_ & kLinkUnderline) ? TRUE : FALSE;
  HFONT font = CreateFontIndirectA(&description);
  if (font == nullptr) return;
  HFONT old = font_;
  font_ = font;
  if (hwnd_ != nullptr) SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  if (old != nullptr) DeleteObject(old);
}

void CHyperLink::Refit() {
  if (hwnd_ == nullptr || !(flags_ & kLinkFitToText)) return;
  const DWORD style = GetStyle();
  std::string text = GetWindowText();
  HDC dc = GetDC(hwnd_);
  HGDIOBJ old_font = font_ != nullptr ? SelectObject(dc, font_) : nullptr;
  RECT measured = {0, 0, 0, 0};
  UINT format = DT_CALCRECT | DT_EXPANDTABS | ((style & SS_NOPREFIX) ? DT_NOPREFIX : 0);
  DrawTextA(dc, text.c_str(), -1, &measured, format);
  if (old_font != nullptr) SelectObject(dc, old_font);
  ReleaseDC(hwnd_, dc);

  RECT current = RectInParent(hwnd_);
  RECT client = {};
  GetClientRect(hwnd_, &client);
  const int width = Width(measured) + Width(current) - Width(client);
  const int height = Height(measured) + Height(current) - Height(client);
  int top = current.top;
  if (style & SS_CENTERIMAGE) top += (Height(current) - height) / 2;
  int left = current.left;
  switch (style & SS_TYPEMASK) {
    case SS_CENTER:
      left += (Width(current) - width) / 2;
      break;
    case SS_RIGHT:
      left = current.right - width;
      break;
    default:
      break;
  }
  MoveWindow(hwnd_, left, top, width, height, TRUE);
  UpdateToolTipRect();
}

bool CHyperLink::UseHandCursor() const { return !(flags_ & kLinkDefaultCursor); }

void CHyperLink::CreateToolTip() {
  if (tool_tip_.GetSafeHwnd() != nullptr) return;
  CreateControlToolTip(tool_tip_, hwnd_, url_, 600);
}

void CHyperLink::UpdateToolTipText() { SetControlToolTipText(tool_tip_, hwnd_, url_); }

void CHyperLink::UpdateToolTipRect() { FitControlToolTip(tool_tip_, hwnd_); }

// Relayed here rather than from a message loop, so that it works in modal dialogs too.
void CHyperLink::RelayToToolTip(UINT msg, WPARAM wp, LPARAM lp) {
  if (tool_tip_.GetSafeHwnd() == nullptr) return;
  DWORD pos = GetMessagePos();
  MSG relayed = {};
  relayed.hwnd = hwnd_;
  relayed.message = msg;
  relayed.wParam = wp;
  relayed.lParam = lp;
  relayed.time = static_cast<DWORD>(GetMessageTime());
  relayed.pt = PointOf(static_cast<LPARAM>(pos));
  tool_tip_.SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

// The background is the parent's, so the parent repaints underneath before the text.
void CHyperLink::Repaint() {
  if (hwnd_ == nullptr) return;
  HWND parent = ::GetParent(hwnd_);
  if (parent == nullptr) {
    InvalidateRect(hwnd_, nullptr, TRUE);
    return;
  }
  RECT area = RectInParent(hwnd_);
  RedrawWindow(parent, &area, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void CHyperLink::MarkVisited() {
  visited_ = true;
  Repaint();
}

void CHyperLink::FollowLink() {
  int result = OpenUrl(url_, SW_SHOW);
  if (result > 32)
    MarkVisited();
  else
    ShowError(result);
}

void CHyperLink::ShowError(int code) {
  MessageBeep(MB_ICONEXCLAMATION);
  std::string title = LoadResourceString(AFX_IDS_APP_TITLE);
  MessageBoxA(GetAncestor(hwnd_, GA_ROOT), LinkErrorText(code).c_str(), title.c_str(),
              MB_OK | MB_ICONEXCLAMATION);
}

void CHyperLink::LeaveHover() {
  mouse_over_ = false;
  // A press that left the control is not a click any more.
  pressed_ = false;
  if (GetCapture() == hwnd_) ReleaseCapture();
  Repaint();
}

bool CHyperLink::InClient(POINT point) const {
  RECT client = {};
  GetClientRect(hwnd_, &client);
  return PtInRect(&client, point) != FALSE;
}

void CHyperLink::OnMouseMove(POINT point) {
  if (mouse_over_) {
    if (!InClient(point)) LeaveHover();
  } else if (InClient(point)) {
    mouse_over_ = true;
    Repaint();
    SetCapture(hwnd_);
  }
  // The capture keeps WM_SETCURSOR away while over the link.
  if (mouse_over_ && UseHandCursor() && HandCursor() != nullptr) SetCursor(HandCursor());
}

void CHyperLink::OnButtonDown() {
  if (flags_ & kLinkTakeFocus) ::SetFocus(hwnd_);
  if (flags_ & kLinkFollowOnDown) FollowLink();
  pressed_ = true;
}

void CHyperLink::OnButtonUp() {
  const bool follow = pressed_ && !(flags_ & kLinkFollowOnDown);
  // One press, one click: a later release without a press follows nothing.
  pressed_ = false;
  if (follow) FollowLink();
}

bool CHyperLink::OnChildNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
  if (msg != WM_CTLCOLORSTATIC) return CStatic::OnChildNotify(msg, wp, lp, result);
  HDC dc = reinterpret_cast<HDC>(wp);
  SetTextColor(dc, ChooseLinkColour(g_colours, flags_, mouse_over_, focused_, visited_));
  SetBkMode(dc, TRANSPARENT);
  // A hollow brush: a null answer would make the static use its default colours.
  *result = reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
  return true;
}

LRESULT CHyperLink::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_NCHITTEST:
      // A static without the notify style would let the mouse through to its parent.
      return HTCLIENT;
    case WM_SETCURSOR:
      if (UseHandCursor() && HandCursor() != nullptr) {
        SetCursor(HandCursor());
        return TRUE;
      }
      break;
    case WM_MOUSEMOVE:
      RelayToToolTip(msg, wp, lp);
      OnMouseMove(PointOf(lp));
      break;
    case WM_LBUTTONDOWN: {
      RelayToToolTip(msg, wp, lp);
      // Under the capture a click can land outside the control: it is not a click on the link.
      if (!InClient(PointOf(lp))) {
        LeaveHover();
        return 0;
      }
      OnButtonDown();
      break;
    }
    case WM_LBUTTONUP: {
      RelayToToolTip(msg, wp, lp);
      if (InClient(PointOf(lp)))
        OnButtonUp();
      else
        pressed_ = false;
      break;
    }
    case WM_SETFOCUS:
      focused_ = true;
      Repaint();
      break;
    case WM_KILLFOCUS:
      focused_ = false;
      pressed_ = false;
      Repaint();
      break;
    case WM_KEYDOWN:
      // Bit 30 marks auto-repeat: holding the space bar opens the link once.
      if (wp == VK_SPACE && !(lp & (1 << 30))) {
        FollowLink();
        return 0;
      }
      break;
    case WM_CAPTURECHANGED:
      if (mouse_over_ && reinterpret_cast<HWND>(lp) != hwnd_) {
        mouse_over_ = false;
        pressed_ = false;
        Repaint();
      }
      break;
    case WM_SETTEXT: {
      LRESULT result = CStatic::WindowProc(msg, wp, lp);
      Repaint();
      return result;
    }
    case WM_DESTROY:
      if (GetCapture() == hwnd_) ReleaseCapture();
      // The tooltip belongs to the top-level window and would outlive the control.
      tool_tip_.DestroyWindow();
      break;
    default:
      break;
  }
  return CStatic::WindowProc(msg, wp, lp);
}

void CHyperLinkDL::FollowLink() { MarkVisited(); }
