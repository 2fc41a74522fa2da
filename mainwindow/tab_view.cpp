#include "mainwindow/tab_view.h"

#include <commctrl.h>

#include "mainwindow/layout_hold.h"
#include "mainwindow/pane_layout.h"
#include "resources/resource.h"

namespace {
enum Tab { kDependenciesTab = 0, kRegistryTab = 1 };
}

CTabView::CTabView() : CFormView(IDD_TAB_VIEW) {}

void CTabView::OnInitialUpdate() {
  tabs_.SubclassDlgItem(IDC_DETAIL_TABS, this);
  registry_page_.Create(this);
  dependency_page_.Create(this);
  tabs_.InsertItem(kDependenciesTab, "Dependencies");
  tabs_.InsertItem(kRegistryTab, "Registry Entries");
  RECT client;
  GetClientRect(hwnd_, &client);
  Layout(client.right, client.bottom);
  ShowSelectedPage();
}

void CTabView::ShowSelectedPage() {
  bool registry = tabs_.GetCurSel() == kRegistryTab;
  CWnd& shown = registry ? static_cast<CWnd&>(registry_page_) : dependency_page_;
  CWnd& hidden = registry ? static_cast<CWnd&>(dependency_page_) : registry_page_;
  if (hidden.GetSafeHwnd() != nullptr) ShowWindow(hidden, SW_HIDE);
  if (shown.GetSafeHwnd() != nullptr) {
    ShowWindow(shown, SW_SHOW);
    UpdateWindow(shown);
  }
}

void CTabView::Layout(int width, int height) {
  if (tabs_.GetSafeHwnd() == nullptr) return;
  RECT body = PlaceTabsOnTop(tabs_, width, height);
  for (CWnd* page : {static_cast<CWnd*>(&registry_page_), static_cast<CWnd*>(&dependency_page_)}) {
    if (page->GetSafeHwnd() != nullptr)
      MoveWindow(*page, body.left, body.top, body.right - body.left, body.bottom - body.top, TRUE);
  }
}

LRESULT CTabView::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NOTIFY) {
    auto* header = reinterpret_cast<NMHDR*>(lp);
    if (header->idFrom == IDC_DETAIL_TABS && header->code == static_cast<UINT>(TCN_SELCHANGE)) {
      ShowSelectedPage();
      return 0;
    }
  }
  LRESULT result = CFormView::WindowProc(msg, wp, lp);
  if (msg == WM_SIZE && !LayoutHeld()) Layout(LOWORD(lp), HIWORD(lp));
  return result;
}
