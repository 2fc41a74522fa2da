#include "mainwindow/tab_view.h"

#include <commctrl.h>

#include "mainwindow/layout_hold.h"
#include "mainwindow/pane_layout.h"
#include "resources/resource.h"

namespace {
enum Tab { kDependenciesTab = 0, kRegistryTab = 1, kTypeLibTab = 2 };
}

CTabView::CTabView() : CFormView(IDD_TAB_VIEW) {}

void CTabView::OnInitialUpdate() {
  tabs_.SubclassDlgItem(IDC_DETAIL_TABS, this);
  registry_page_.Create(this);
  dependency_page_.Create(this);
  typelib_page_.Create(this);
  tabs_.InsertItem(kDependenciesTab, "Dependencies");
  tabs_.InsertItem(kRegistryTab, "Registry Entries");
  // A tab of its own beside the other views of the record: reading a library is slow enough
  // to wait until the user asks for it.
  tabs_.InsertItem(kTypeLibTab, "Type Library");
  RECT client;
  GetClientRect(hwnd_, &client);
  Layout(client.right, client.bottom);
  ShowSelectedPage();
}

void CTabView::ShowSelectedPage() {
  const int selected = tabs_.GetCurSel();
  CWnd* pages[] = {&dependency_page_, &registry_page_, &typelib_page_};
  for (int tab = 0; tab < 3; ++tab)
    if (tab != selected && pages[tab]->GetSafeHwnd() != nullptr) ShowWindow(*pages[tab], SW_HIDE);
  if (selected < 0 || selected >= 3 || pages[selected]->GetSafeHwnd() == nullptr) return;
  ShowWindow(*pages[selected], SW_SHOW);
  if (selected == kTypeLibTab) typelib_page_.LoadIfStale();
  UpdateWindow(*pages[selected]);
}

void CTabView::Layout(int width, int height) {
  if (tabs_.GetSafeHwnd() == nullptr) return;
  RECT body = PlaceTabsOnTop(tabs_, width, height);
  for (CWnd* page : {static_cast<CWnd*>(&registry_page_), static_cast<CWnd*>(&dependency_page_),
                     static_cast<CWnd*>(&typelib_page_)}) {
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
