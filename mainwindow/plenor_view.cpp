#include "mainwindow/plenor_view.h"

#include <commctrl.h>

#include "framework/win_app.h"
#include "mainwindow/attribute_rows_list.h"
#include "mainwindow/clipboard.h"
#include "mainwindow/layout_hold.h"
#include "resources/resource.h"

namespace {
const int kInitialColumnWidth = 50;
}

CPlenorView::CPlenorView() : CFormView(IDD_PLENOR_VIEW) {
  MapCommand(ID_COPY_ATTRIBUTE, [this] { CopySelectedValue(); });
}

void CPlenorView::OnInitialUpdate() {
  list_.SubclassDlgItem(IDC_ATTRIBUTE_LIST, this);
  // The images a record's rows name: registry facts, file facts, version strings, missing file.
  images_.Create({IDB_REGISTRY_FACT, IDB_FILE_FACT, IDB_VERSION_STRING, IDB_MISSING_FILE});
  list_.SetImageList(images_.handle(), LVSIL_SMALL);
  list_.InsertColumn(0, "Name", LVCFMT_LEFT, kInitialColumnWidth);
  list_.InsertColumn(1, "Value", LVCFMT_LEFT, kInitialColumnWidth);
}

void CPlenorView::CopySelectedValue() {
  int row = list_.GetNextItem(-1, LVNI_SELECTED);
  if (row >= 0) CopyTextToClipboard(list_.GetItemText(row, 1));
}

void CPlenorView::ShowContextMenu() {
  POINT point;
  GetCursorPos(&point);
  HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_ATTRIBUTE_MENU));
  if (menu == nullptr) return;
  CWnd* main = AfxGetMainWnd();
  HWND owner = main != nullptr ? main->GetSafeHwnd() : hwnd_;
  TrackPopupMenu(GetSubMenu(menu, 0), TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, 0,
                 owner, nullptr);
  DestroyMenu(menu);
}

LRESULT CPlenorView::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NOTIFY) {
    auto* header = reinterpret_cast<NMHDR*>(lp);
    if (header->idFrom == IDC_ATTRIBUTE_LIST && header->code == static_cast<UINT>(NM_RCLICK)) {
      ShowContextMenu();
      return 0;
    }
  }
  LRESULT result = CFormView::WindowProc(msg, wp, lp);
  if (msg == WM_SIZE && !LayoutHeld() && list_.GetSafeHwnd() != nullptr) {
    MoveWindow(list_, 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
    FitNameValueColumns(list_);
  }
  return result;
}
