#include "mainwindow/plenor_view.h"

#include <commctrl.h>

#include "mainwindow/layout_hold.h"
#include "resources/resource.h"

namespace {
const int kHeadingMargin = 16;
}

CPlenorView::CPlenorView() : CFormView(IDD_PLENOR_VIEW) {}

void CPlenorView::OnInitialUpdate() {
  HWND list = GetDlgItem(IDC_ATTRIBUTE_LIST);
  const char* headings[] = {"Name", "Value"};
  for (int i = 0; i < 2; ++i) {
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH;
    column.fmt = LVCFMT_LEFT;
    column.cx = 50;
    column.pszText = const_cast<char*>(headings[i]);
    ::SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
  }
}

LRESULT CPlenorView::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = CFormView::WindowProc(msg, wp, lp);
  if (msg == WM_SIZE && !LayoutHeld()) {
    HWND list = GetDlgItem(IDC_ATTRIBUTE_LIST);
    if (list != nullptr) {
      MoveWindow(list, 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
      // The names' width, but never narrower than the heading.
      ::SendMessageA(list, LVM_SETCOLUMNWIDTH, 0, LVSCW_AUTOSIZE);
      int names = static_cast<int>(::SendMessageA(list, LVM_GETCOLUMNWIDTH, 0, 0));
      int heading = static_cast<int>(
                        ::SendMessageA(list, LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>("Name"))) +
                    kHeadingMargin;
      ::SendMessageA(list, LVM_SETCOLUMNWIDTH, 0, names > heading ? names : heading);
      ::SendMessageA(list, LVM_SETCOLUMNWIDTH, 1, LVSCW_AUTOSIZE_USEHEADER);
    }
  }
  return result;
}
