#include "mainwindow/object_tree.h"

#include <commctrl.h>

#include "mainwindow/layout_hold.h"
#include "mainwindow/pane_layout.h"
#include "resources/resource.h"

CObjectTree::CObjectTree() : CFormView(IDD_OBJECT_TREE) {}

void CObjectTree::OnInitialUpdate() {
  HWND tabs = GetDlgItem(IDC_CATEGORY_TABS);
  const char* categories[] = {"Controls", "DLL Servers", "EXE Servers"};
  for (int i = 0; i < 3; ++i) {
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(categories[i]);
    ::SendMessageA(tabs, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
  }
  LVCOLUMNA column = {};
  column.mask = LVCF_TEXT | LVCF_FMT;
  column.fmt = LVCFMT_LEFT;
  column.pszText = const_cast<char*>("Objects");
  ::SendMessageA(GetDlgItem(IDC_OBJECT_LIST), LVM_INSERTCOLUMNA, 0,
                 reinterpret_cast<LPARAM>(&column));
}

void CObjectTree::Layout(int width, int height) {
  HWND tabs = GetDlgItem(IDC_CATEGORY_TABS);
  HWND list = GetDlgItem(IDC_OBJECT_LIST);
  if (tabs == nullptr || list == nullptr) return;
  RECT body = PlaceTabsOnTop(tabs, width, height);
  MoveWindow(list, body.left, body.top, body.right - body.left, body.bottom - body.top, TRUE);
  ::SendMessageA(list, LVM_SETCOLUMNWIDTH, 0, LVSCW_AUTOSIZE_USEHEADER);
}

LRESULT CObjectTree::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = CFormView::WindowProc(msg, wp, lp);
  if (msg == WM_SIZE && !LayoutHeld()) Layout(LOWORD(lp), HIWORD(lp));
  return result;
}
