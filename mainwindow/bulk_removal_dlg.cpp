#include "mainwindow/bulk_removal_dlg.h"

#include <algorithm>

#include "resources/resource.h"

CBulkRemovalDlg::CBulkRemovalDlg(const std::string& text, std::vector<std::string> lines,
                                 CWnd* parent)
    : CDialog(IDD_CONFIRM_BULK_REMOVAL, parent), text_(text), lines_(std::move(lines)) {}

BOOL CBulkRemovalDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SendDlgItemMessageA(hwnd_, IDC_BULK_REMOVAL_ICON, STM_SETICON,
                      reinterpret_cast<WPARAM>(LoadIconA(nullptr, IDI_QUESTION)), 0);
  SetDlgItemTextA(hwnd_, IDC_BULK_REMOVAL_TEXT, text_.c_str());
  HWND list = GetDlgItem(IDC_BULK_REMOVAL_LIST);
  HDC dc = GetDC(list);
  HGDIOBJ old_font = SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageA(list, WM_GETFONT, 0, 0)));
  int widest = 0;
  for (const std::string& line : lines_) {
    ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    SIZE size = {};
    GetTextExtentPoint32A(dc, line.c_str(), static_cast<int>(line.size()), &size);
    widest = std::max(widest, static_cast<int>(size.cx));
  }
  SelectObject(dc, old_font);
  ReleaseDC(list, dc);
  // Long file paths scroll sideways rather than being cut.
  ::SendMessageA(list, LB_SETHORIZONTALEXTENT, widest + 8, 0);

  RECT window, list_rect;
  GetWindowRect(hwnd_, &window);
  GetWindowRect(list, &list_rect);
  full_height_ = window.bottom - window.top;
  short_height_ = list_rect.top - window.top;
  ShowList(false);
  // The safe answer has the focus: Enter alone keeps everything.
  SetFocus(GetDlgItem(IDNO));
  return FALSE;
}

void CBulkRemovalDlg::ShowList(bool show) {
  RECT window;
  GetWindowRect(hwnd_, &window);
  SetWindowPos(hwnd_, nullptr, 0, 0, window.right - window.left,
               show ? full_height_ : short_height_, SWP_NOMOVE | SWP_NOZORDER);
  ShowWindow(GetDlgItem(IDC_BULK_REMOVAL_LIST), show ? SW_SHOW : SW_HIDE);
  SetDlgItemTextA(hwnd_, IDC_BULK_REMOVAL_SHOW_LIST, show ? "Hide &list" : "&Show list");
}

void CBulkRemovalDlg::OnCancel() { EndDialog(IDNO); }

LRESULT CBulkRemovalDlg::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COMMAND && HIWORD(wp) == BN_CLICKED) {
    switch (LOWORD(wp)) {
      case IDYES:
      case IDNO:
        EndDialog(LOWORD(wp));
        return 0;
      case IDC_BULK_REMOVAL_SHOW_LIST:
        ShowList(!IsWindowVisible(GetDlgItem(IDC_BULK_REMOVAL_LIST)));
        return 0;
      default:
        break;
    }
  }
  return CDialog::WindowProc(msg, wp, lp);
}
