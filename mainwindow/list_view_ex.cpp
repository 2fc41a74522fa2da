#include "mainwindow/list_view_ex.h"

namespace {

const char kEllipsis[] = "...";

SIZE TextExtent(HDC dc, const char* text, int length) {
  SIZE size = {0, 0};
  GetTextExtentPoint32A(dc, text, length, &size);
  return size;
}

void FillWithColour(HDC dc, const RECT& rect, COLORREF colour) {
  HBRUSH brush = CreateSolidBrush(colour);
  FillRect(dc, &rect, brush);
  DeleteObject(brush);
}

int SystemMajorVersion() {
  OSVERSIONINFOA version = {};
  version.dwOSVersionInfoSize = sizeof version;
  if (!GetVersionExA(&version)) return 0;
  return static_cast<int>(version.dwMajorVersion);
}

// Under the UTF-8 code page a cut at a continuation byte would split a character.
bool InsideCharacter(const std::string& text, int n) {
  return GetACP() == CP_UTF8 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80;
}

}  // namespace

CListViewEx::CListViewEx()
    : text_bk_color_(GetSysColor(COLOR_WINDOW)), bk_color_(GetSysColor(COLOR_WINDOW)) {}

void CListViewEx::ShortenText(HDC dc, std::string& text, int width, int offset) {
  if (text.empty()) return;
  if (TextExtent(dc, text.c_str(), static_cast<int>(text.size())).cx + offset <= width) return;
  int dots = TextExtent(dc, kEllipsis, 3).cx;
  int n = static_cast<int>(text.size()) - 1;
  if (n > 0) {
    offset += dots;
    for (;;) {
      if (!InsideCharacter(text, n) && TextExtent(dc, text.c_str(), n).cx + offset <= width)
        break;
      if (--n == 0) break;
    }
  }
  text.resize(n);
  text += kEllipsis;
}

bool CListViewEx::PreCreateWindow(CREATESTRUCTA& cs) {
  cs.style &= ~static_cast<DWORD>(LVS_SMALLICON);
  cs.style |= LVS_REPORT | LVS_OWNERDRAWFIXED;
  full_row_selection_ = 1;
  return CListCtrl::PreCreateWindow(cs);
}

bool CListViewEx::OnChildNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
  if (msg == WM_DRAWITEM) {
    const auto* request = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
    if (request->CtlType == ODT_LISTVIEW && request->itemID != static_cast<UINT>(-1)) {
      DrawItem(*request);
      *result = TRUE;
      return true;
    }
  }
  return CListCtrl::OnChildNotify(msg, wp, lp, result);
}

bool CListViewEx::GetHighlightBounds(int index, RECT* rect) const {
  RECT label;
  if (!GetItemRect(index, rect, LVIR_BOUNDS) || !GetItemRect(index, &label, LVIR_LABEL))
    return false;
  rect->left = label.left;
  return true;
}

void CListViewEx::DrawItem(const DRAWITEMSTRUCT& request) {
  HDC dc = request.hDC;
  RECT item = request.rcItem;
  const int index = static_cast<int>(request.itemID);
  UINT image_style = ILD_TRANSPARENT;
  COLORREF image_foreground = bk_color_;
  const bool has_focus = ::GetFocus() == hwnd_;

  LVITEMA description = {};
  description.mask = LVIF_IMAGE | LVIF_STATE | LVIF_PARAM;
  description.iItem = index;
  description.stateMask = 0xFFFFFFFF;
  GetItem(&description);
  const UINT state = description.state;

  const bool selected =
      ((state & LVIS_SELECTED) && (has_focus || (GetStyle() & LVS_SHOWSELALWAYS))) ||
      (state & LVIS_DROPHILITED);
  std::string label = GetItemText(index, 0);

  RECT highlight = {};
  GetHighlightBounds(index, &highlight);
  if (client_width_selection_ && highlight.right < client_width_) highlight.right = client_width_;

  COLORREF old_text = 0;
  COLORREF old_back = 0;
  if (selected) {
    old_text = ::SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    old_back = ::SetBkColor(dc, GetSysColor(COLOR_HIGHLIGHT));
    FillRect(dc, &highlight, GetSysColorBrush(COLOR_HIGHLIGHT));
  } else if (text_bk_color_ != CLR_NONE) {
    FillWithColour(dc, highlight, text_bk_color_);
  } else if (bk_color_ != CLR_NONE) {
    // A transparent text background shows the list's own background.
    FillWithColour(dc, highlight, bk_color_);
  }

  if (state & LVIS_CUT) {
    image_foreground = bk_color_;
    image_style |= ILD_BLEND50;
  } else if (selected) {
    image_foreground = GetSysColor(COLOR_HIGHLIGHT);
    image_style |= ILD_BLEND50;
  }

  HIMAGELIST state_images = GetImageList(LVSIL_STATE);
  const int state_image = static_cast<int>((state & LVIS_STATEIMAGEMASK) >> 12);
  if (state_image != 0 && state_images != nullptr)
    ImageList_Draw(state_images, state_image - 1, dc, item.left, item.top, ILD_TRANSPARENT);

  HIMAGELIST small_images = GetImageList(LVSIL_SMALL);
  if (small_images != nullptr && item.left < item.right - 1) {
    RECT icon = {};
    GetItemRect(index, &icon, LVIR_ICON);
    ImageList_DrawEx(small_images, description.iImage, dc, icon.left, icon.top, 16, 16,
                     bk_color_, image_foreground, image_style | (state & LVIS_OVERLAYMASK));
  }

  GetItemRect(index, &item, LVIR_LABEL);
  item.right -= state_image_offset_;
  ShortenText(dc, label, item.right - item.left, 4);
  RECT label_rect = item;
  label_rect.left += 2;
  label_rect.right -= 2;
  DrawItemText(label, selected, item, label_rect, index, description, dc);

  if ((state & LVIS_FOCUSED) && has_focus) DrawFocusRect(dc, &highlight);
  if (selected) {
    ::SetTextColor(dc, old_text);
    ::SetBkColor(dc, old_back);
  }
}

void CListViewEx::DrawItemText(const std::string&, bool, const RECT&, const RECT&, int,
                               const LVITEMA&, HDC) {}

LRESULT CListViewEx::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SIZE:
      client_width_ = LOWORD(lp);
      break;
    case WM_PAINT:
      // A paint into a given context (wp) has no update region to widen.
      if (wp == 0) WidenPaintArea();
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      LRESULT result = CListCtrl::WindowProc(msg, wp, lp);
      HWND other = reinterpret_cast<HWND>(wp);
      bool own_child = other != nullptr && IsChild(hwnd_, other);
      if (!own_child && full_row_selection_ && IsReportView()) RepaintSelectedRows();
      return result;
    }
    case LVM_SETIMAGELIST:
      OnSetImageList(wp, reinterpret_cast<HIMAGELIST>(lp));
      break;
    case LVM_SETTEXTBKCOLOR:
      text_bk_color_ = static_cast<COLORREF>(lp);
      break;
    case LVM_SETBKCOLOR:
      bk_color_ = static_cast<COLORREF>(lp);
      break;
    default:
      break;
  }
  return CListCtrl::WindowProc(msg, wp, lp);
}

void CListViewEx::WidenPaintArea() {
  if (!client_width_selection_ || !full_row_selection_ || !IsReportView()) return;
  RECT bounds;
  if (!GetItemRect(0, &bounds, LVIR_BOUNDS) || bounds.right >= client_width_) return;
  // The highlight reaches past the columns, so the strip right of them is repainted too.
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(hwnd_, &paint);
  RECT clip = {};
  GetClipBox(dc, &clip);
  if (bounds.right - 1 < clip.left) clip.left = bounds.right - 1;
  clip.right = client_width_;
  InvalidateRect(hwnd_, &clip, FALSE);
  EndPaint(hwnd_, &paint);
}

void CListViewEx::RepaintSelectedRows() {
  RECT rect;
  int focused = GetNextItem(-1, LVNI_FOCUSED);
  if (focused != -1 && GetHighlightBounds(focused, &rect)) InvalidateRect(hwnd_, &rect, FALSE);
  if (!(GetStyle() & LVS_SHOWSELALWAYS)) {
    for (int i = GetNextItem(-1, LVNI_SELECTED); i != -1; i = GetNextItem(i, LVNI_SELECTED)) {
      if (GetHighlightBounds(i, &rect)) InvalidateRect(hwnd_, &rect, FALSE);
    }
  }
  UpdateWindow(hwnd_);
}

void CListViewEx::OnSetImageList(WPARAM which, HIMAGELIST list) {
  // Older systems draw state images inside the label area, so the label gives way to them.
  if (which != LVSIL_STATE || SystemMajorVersion() >= 4) return;
  int cx = 0;
  int cy = 0;
  state_image_offset_ = (list != nullptr && ImageList_GetIconSize(list, &cx, &cy)) ? cx : 0;
}

void CListViewEx::DrawFurtherCells(int index, const RECT& item, HDC dc, int offset, int margin,
                                   UINT flags,
                                   const std::function<COLORREF(int, const std::string&)>& colour) {
  int left = item.right;
  for (int column = 1;; ++column) {
    LVCOLUMNA info = {};
    info.mask = LVCF_WIDTH;
    if (!SendMessage(LVM_GETCOLUMNA, column, reinterpret_cast<LPARAM>(&info))) break;
    RECT cell = {left, item.top, left + info.cx, item.bottom};
    left = cell.right;
    std::string text = GetItemText(index, column);
    if (colour) SetTextColor(dc, colour(column, text));
    ShortenText(dc, text, info.cx, offset);
    RECT inner = {cell.left + margin, cell.top, cell.right - margin, cell.bottom};
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &inner, flags);
  }
}
