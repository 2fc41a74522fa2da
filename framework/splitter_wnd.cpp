#include "framework/splitter_wnd.h"

#include <windowsx.h>

#include <algorithm>

bool CSplitterWnd::CreateStatic(CWnd* parent, int rows, int columns, DWORD style, UINT id) {
  if (rows < 1 || columns < 1) return false;
  row_ideal_.assign(rows, 0);
  column_ideal_.assign(columns, 0);
  const char* window_class = RegisterFrameworkClass(
      "CorvaneSplitter", CS_DBLCLKS, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), nullptr);
  RECT rect = {0, 0, 0, 0};
  return CreateEx(0, window_class, "", style | WS_CLIPCHILDREN, rect, parent->GetSafeHwnd(),
                  id);
}

bool CSplitterWnd::CreateView(int row, int column, const std::function<CView*()>& new_view,
                              SIZE size, CCreateContext* context) {
  if (row < 0 || row >= GetRowCount() || column < 0 || column >= GetColumnCount()) return false;
  if (GetPane(row, column) != nullptr) return false;
  CView* view = new_view();
  RECT rect = {0, 0, size.cx, size.cy};
  if (!view->Create(this, IdFromRowCol(row, column), rect, context)) {
    if (view->GetSafeHwnd() == nullptr) delete view;
    return false;
  }
  column_ideal_[column] = size.cx;
  row_ideal_[row] = size.cy;
  RecalcLayout();
  return true;
}

CWnd* CSplitterWnd::GetPane(int row, int column) const {
  return FromHandle(GetDlgItem(IdFromRowCol(row, column)));
}

void CSplitterWnd::SetRowIdeal(int row, int height) {
  row_ideal_[row] = std::max(0, height);
  RecalcLayout();
}

void CSplitterWnd::SetColumnIdeal(int column, int width) {
  column_ideal_[column] = std::max(0, width);
  RecalcLayout();
}

std::vector<int> CSplitterWnd::Sizes(const std::vector<int>& ideal, int total) const {
  std::vector<int> sizes(ideal.size());
  int left = total - kBarSize * static_cast<int>(ideal.size() - 1);
  for (size_t i = 0; i + 1 < ideal.size(); ++i) {
    sizes[i] = std::max(0, std::min(ideal[i], left));
    left -= sizes[i];
  }
  sizes.back() = std::max(0, left);
  return sizes;
}

void CSplitterWnd::RecalcLayout() {
  if (hwnd_ == nullptr) return;
  RECT client;
  GetClientRect(hwnd_, &client);
  std::vector<int> widths = Sizes(column_ideal_, client.right);
  std::vector<int> heights = Sizes(row_ideal_, client.bottom);
  int y = 0;
  for (int row = 0; row < GetRowCount(); ++row) {
    int x = 0;
    for (int column = 0; column < GetColumnCount(); ++column) {
      if (HWND pane = GetDlgItem(IdFromRowCol(row, column)))
        MoveWindow(pane, x, y, widths[column], heights[row], TRUE);
      x += widths[column] + kBarSize;
    }
    y += heights[row] + kBarSize;
  }
}

bool CSplitterWnd::HitBar(POINT point, bool* vertical, int* index) const {
  RECT client;
  GetClientRect(hwnd_, &client);
  std::vector<int> widths = Sizes(column_ideal_, client.right);
  std::vector<int> heights = Sizes(row_ideal_, client.bottom);
  int x = 0;
  for (size_t i = 0; i + 1 < widths.size(); ++i) {
    x += widths[i];
    if (point.x >= x && point.x < x + kBarSize) {
      *vertical = true;
      *index = static_cast<int>(i);
      return true;
    }
    x += kBarSize;
  }
  int y = 0;
  for (size_t i = 0; i + 1 < heights.size(); ++i) {
    y += heights[i];
    if (point.y >= y && point.y < y + kBarSize) {
      *vertical = false;
      *index = static_cast<int>(i);
      return true;
    }
    y += kBarSize;
  }
  return false;
}

LRESULT CSplitterWnd::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SIZE:
      RecalcLayout();
      return 0;
    case WM_SETCURSOR: {
      POINT point;
      GetCursorPos(&point);
      ScreenToClient(hwnd_, &point);
      bool vertical = false;
      int index = 0;
      if (reinterpret_cast<HWND>(wp) == hwnd_ && HitBar(point, &vertical, &index)) {
        SetCursor(LoadCursorA(nullptr, vertical ? IDC_SIZEWE : IDC_SIZENS));
        return TRUE;
      }
      break;
    }
    case WM_LBUTTONDOWN: {
      POINT point = {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      if (HitBar(point, &drag_vertical_, &drag_index_)) {
        dragging_ = true;
        SetCapture(hwnd_);
      }
      return 0;
    }
    case WM_MOUSEMOVE:
      if (dragging_) {
        // The bar follows the pointer: the panes before it get the new size.
        int position = drag_vertical_ ? GET_X_LPARAM(lp) : GET_Y_LPARAM(lp);
        const std::vector<int>& ideal = drag_vertical_ ? column_ideal_ : row_ideal_;
        int before = 0;
        for (int i = 0; i < drag_index_; ++i) before += ideal[i] + kBarSize;
        int size = std::max(0, position - before - kBarSize / 2);
        if (drag_vertical_)
          SetColumnIdeal(drag_index_, size);
        else
          SetRowIdeal(drag_index_, size);
      }
      return 0;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      if (dragging_) {
        dragging_ = false;
        if (msg == WM_LBUTTONUP) ReleaseCapture();
      }
      return 0;
    default:
      break;
  }
  return CWnd::WindowProc(msg, wp, lp);
}
