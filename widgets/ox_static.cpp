#include "widgets/ox_static.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdint>

#include "widgets/tool_tip.h"

namespace {

BYTE ShadeChannel(int channel, int distance, int width) {
  // 64 bits: distance squared times the channel overflows 32 bits on wide controls.
  const int64_t d = distance;
  const int64_t w = width;
  return static_cast<BYTE>(channel - d * d * channel / (w * w));
}

void AddStrip(std::vector<ShadeStrip>* strips, int left, int right, COLORREF colour) {
  if (left < right) strips->push_back({left, right, colour});
}

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

}  // namespace

COLORREF ShadeColour(COLORREF colour, int distance, int width) {
  if (width <= 0 || distance >= width) return RGB(0, 0, 0);
  distance = std::max(distance, 0);
  return RGB(ShadeChannel(GetRValue(colour), distance, width),
             ShadeChannel(GetGValue(colour), distance, width),
             ShadeChannel(GetBValue(colour), distance, width));
}

std::vector<ShadeStrip> ShadeStrips(COLORREF colour, int mode, int width) {
  std::vector<ShadeStrip> strips;
  if (width <= 0 || colour == kNoBackground) return strips;
  const COLORREF black = RGB(0, 0, 0);
  if (mode == kShadeFromCentre) {
    const int half = width / 2;
    const int step = std::max(half / 256, 1);
    int d = 0;
    for (; d + step < half; d += step) {
      COLORREF shade = ShadeColour(colour, d, half);
      AddStrip(&strips, half + d, half + d + step, shade);
      AddStrip(&strips, half - d - step, half - d, shade);
    }
    AddStrip(&strips, 0, half - d, black);
    AddStrip(&strips, half + d, width, black);
  } else if (mode == kShadeFromRight || mode == kShadeFromLeft) {
    const int step = width < 256 ? 1 : width / 128;
    int d = 0;
    for (; d + step < width; d += step) {
      COLORREF shade = ShadeColour(colour, d, width);
      if (mode == kShadeFromLeft)
        AddStrip(&strips, d, d + step, shade);
      else
        AddStrip(&strips, width - d - step, width - d, shade);
    }
    if (mode == kShadeFromLeft)
      AddStrip(&strips, d, width, black);
    else
      AddStrip(&strips, 0, width - d, black);
  } else {
    AddStrip(&strips, 0, width, colour);
  }
  return strips;
}

COXStatic::COXStatic()
    : background_colour_(GetSysColor(COLOR_BTNFACE)), text_colour_(GetSysColor(COLOR_WINDOWTEXT)) {}

COXStatic::~COXStatic() {
  if (has_font_) DeleteObject(font_);
}

void COXStatic::SetBackgroundColour(COLORREF colour, bool redraw) {
  background_colour_ = colour;
  if (redraw) RedrawNow();
}

void COXStatic::SetBackgroundMode(int mode, bool redraw) {
  background_mode_ = mode;
  if (redraw) RedrawNow();
}

void COXStatic::SetTextColour(COLORREF colour, bool redraw) {
  text_colour_ = colour;
  if (redraw) RedrawNow();
}

bool COXStatic::IsTextControl() const {
  if (hwnd_ == nullptr) return false;
  // The type field only: SS_NOPREFIX shares the style's low byte.
  switch (GetStyle() & SS_TYPEMASK) {
    case SS_LEFT:
    case SS_CENTER:
    case SS_RIGHT:
    case SS_SIMPLE:
    case SS_LEFTNOWORDWRAP:
      return true;
    default:
      return false;
  }
}

void COXStatic::ReplaceFont(HFONT font) {
  if (has_font_) DeleteObject(font_);
  font_ = font;
  has_font_ = true;
}

bool COXStatic::SetFont(const LOGFONTA& description, bool redraw) {
  HFONT font = CreateFontIndirectA(&description);
  if (font == nullptr) return false;
  ReplaceFont(font);
  // The static paints its text in the font it was given, whatever the colour query selects.
  if (hwnd_ != nullptr) SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  if (fit_to_text_)
    Refit();
  else if (redraw)
    RedrawNow();
  return true;
}

bool COXStatic::TakeWindowFont() {
  if (hwnd_ == nullptr) return false;
  HGDIOBJ current = reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT));
  if (current == nullptr) current = GetStockObject(SYSTEM_FONT);
  LOGFONTA description = {};
  if (GetObjectA(current, sizeof description, &description) == 0) return false;
  HFONT font = CreateFontIndirectA(&description);
  if (font == nullptr) return false;
  ReplaceFont(font);
  if (fit_to_text_) Refit();
  return true;
}

void COXStatic::SetFitToText(bool fit) {
  // The rectangle to return to is the one the control has when fitting starts.
  if (fit && !fit_to_text_ && hwnd_ != nullptr) saved_rect_ = WindowRectInParent();
  bool changed = fit != fit_to_text_;
  fit_to_text_ = fit;
  if (fit || changed) Refit();
}

RECT COXStatic::WindowRectInParent() const {
  RECT rect = {};
  GetWindowRect(hwnd_, &rect);
  MapWindowPoints(nullptr, ::GetParent(hwnd_), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

RECT COXStatic::FittedRect() {
  const DWORD style = GetStyle();
  HDC dc = GetDC(hwnd_);
  HGDIOBJ font = has_font_ ? font_ : reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT));
  HGDIOBJ old_font = font != nullptr ? SelectObject(dc, font) : nullptr;
  std::string text = GetWindowText();
  RECT measured = {0, 0, 0, 0};
  UINT format = DT_CALCRECT | DT_EXPANDTABS | ((style & SS_NOPREFIX) ? DT_NOPREFIX : 0);
  DrawTextA(dc, text.c_str(), -1, &measured, format);
  if (old_font != nullptr) SelectObject(dc, old_font);
  ReleaseDC(hwnd_, dc);

  RECT current = WindowRectInParent();
  RECT client = {};
  GetClientRect(hwnd_, &client);
  // Borders stay around the text.
  int width = Width(measured) + Width(current) - Width(client);
  int height = Height(measured) + Height(current) - Height(client);
  RECT parent_client = {};
  HWND parent = ::GetParent(hwnd_);
  if (parent != nullptr && GetClientRect(parent, &parent_client)) {
    width = std::min<int>(width, parent_client.right);
    height = std::min<int>(height, parent_client.bottom);
  }

  RECT fitted = current;
  if (style & SS_CENTERIMAGE) fitted.top = current.top + (Height(current) - height) / 2;
  fitted.bottom = fitted.top + height;
  switch (style & SS_TYPEMASK) {
    case SS_CENTER:
      fitted.left = current.left + (Width(current) - width) / 2;
      break;
    case SS_RIGHT:
      fitted.left = current.right - width;
      break;
    default:
      break;
  }
  fitted.right = fitted.left + width;
  return fitted;
}

void COXStatic::Refit() {
  if (!IsTextControl()) return;
  RECT rect = fit_to_text_ ? FittedRect() : saved_rect_;
  MoveWindow(hwnd_, rect.left, rect.top, Width(rect), Height(rect), TRUE);
  UpdateToolTipRect();
}

void COXStatic::SetToolTipsActive(bool active) {
  tool_tips_active_ = active;
  if (active) CreateToolTip();
  if (tool_tip_created_) tool_tip_.SendMessage(TTM_ACTIVATE, active ? TRUE : FALSE);
}

void COXStatic::SetToolTipText(const std::string& text) {
  tool_tip_text_ = text;
  tool_tip_text_explicit_ = true;
  UpdateToolTipText();
}

std::string COXStatic::tool_tip_text() const {
  if (tool_tip_text_explicit_ || hwnd_ == nullptr) return tool_tip_text_;
  return GetWindowText();
}

void COXStatic::CreateToolTip() {
  if (tool_tip_created_ || hwnd_ == nullptr) return;
  // Statics without the notify style let the mouse through to their parent.
  ModifyStyle(0, SS_NOTIFY);
  const std::string text = tool_tip_text_explicit_ ? tool_tip_text_ : GetWindowText();
  if (!CreateControlToolTip(tool_tip_, hwnd_, text, 400)) return;
  tool_tip_text_ = text;
  tool_tip_created_ = true;
}

void COXStatic::UpdateToolTipText() {
  if (tool_tip_created_) SetControlToolTipText(tool_tip_, hwnd_, tool_tip_text_);
}

void COXStatic::UpdateToolTipRect() {
  if (tool_tip_created_) FitControlToolTip(tool_tip_, hwnd_);
}

void COXStatic::RedrawNow() {
  if (hwnd_ == nullptr) return;
  const UINT flags = RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW;
  HWND parent = ::GetParent(hwnd_);
  if (background_colour_ == kNoBackground && parent != nullptr) {
    // Nothing of ours covers the old text, so the parent paints underneath first.
    RECT area = WindowRectInParent();
    RedrawWindow(parent, &area, nullptr, flags | RDW_ALLCHILDREN);
  } else {
    RedrawWindow(hwnd_, nullptr, nullptr, flags);
  }
}

void COXStatic::PaintBackground(HDC dc) {
  RECT client = {};
  GetClientRect(hwnd_, &client);
  int saved = SaveDC(dc);
  IntersectClipRect(dc, client.left, client.top, client.right, client.bottom);
  for (const ShadeStrip& strip : ShadeStrips(background_colour_, background_mode_, client.right)) {
    RECT band = {strip.left, client.top, strip.right, client.bottom};
    HBRUSH brush = CreateSolidBrush(strip.colour);
    FillRect(dc, &band, brush);
    DeleteObject(brush);
  }
  RestoreDC(dc, saved);
}

bool COXStatic::PreTranslateMessage(MSG* msg) {
  if (tool_tip_created_ && tool_tip_.GetSafeHwnd() != nullptr) {
    tool_tip_.SendMessage(TTM_ACTIVATE, tool_tips_active_ ? TRUE : FALSE);
    tool_tip_.SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(msg));
  }
  return CStatic::PreTranslateMessage(msg);
}

bool COXStatic::OnChildNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
  if (msg != WM_CTLCOLORSTATIC) return CStatic::OnChildNotify(msg, wp, lp, result);
  if (!(GetStyle() & SS_NOTIFY)) ModifyStyle(0, SS_NOTIFY);
  if (!IsTextControl()) return false;
  HDC dc = reinterpret_cast<HDC>(wp);
  if (has_font_) SelectObject(dc, font_);
  ::SetTextColor(dc, text_colour_);
  ::SetBkMode(dc, TRANSPARENT);
  // A hollow brush, not none: a null answer makes the static fall back to the default
  // colours and fill over the background.
  *result = reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
  return true;
}

LRESULT COXStatic::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      if (background_colour_ == kNoBackground) break;
      PaintBackground(reinterpret_cast<HDC>(wp));
      return 1;
    case WM_SETTEXT: {
      LRESULT result = CStatic::WindowProc(msg, wp, lp);
      if (!tool_tip_text_explicit_) {
        tool_tip_text_ = lp != 0 ? reinterpret_cast<const char*>(lp) : "";
        UpdateToolTipText();
      }
      if (fit_to_text_) Refit();
      RedrawNow();
      return result;
    }
    case WM_SIZE: {
      LRESULT result = CStatic::WindowProc(msg, wp, lp);
      if (!fit_to_text_) saved_rect_ = WindowRectInParent();
      UpdateToolTipRect();
      RedrawNow();
      return result;
    }
    case WM_DESTROY:
      // The tooltip belongs to the top-level window and would outlive this control.
      tool_tip_.DestroyWindow();
      tool_tip_created_ = false;
      break;
    default:
      break;
  }
  return CStatic::WindowProc(msg, wp, lp);
}
