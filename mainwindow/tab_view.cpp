#include "mainwindow/tab_view.h"

#include <commctrl.h>

#include "mainwindow/layout_hold.h"
#include "mainwindow/pane_layout.h"
#include "resources/resource.h"

CTabView::CTabView() : CFormView(IDD_TAB_VIEW) {}

void CTabView::OnInitialUpdate() {
  HWND tabs = GetDlgItem(IDC_DETAIL_TABS);
  const char* pages[] = {"Dependencies", "Registry Entries"};
  for (int i = 0; i < 2; ++i) {
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(pages[i]);
    ::SendMessageA(tabs, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
  }
}

LRESULT CTabView::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = CFormView::WindowProc(msg, wp, lp);
  if (msg == WM_SIZE && !LayoutHeld()) {
    if (HWND tabs = GetDlgItem(IDC_DETAIL_TABS)) PlaceTabsOnTop(tabs, LOWORD(lp), HIWORD(lp));
  }
  return result;
}
