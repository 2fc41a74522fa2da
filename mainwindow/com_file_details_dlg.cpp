#include "mainwindow/com_file_details_dlg.h"

#include <commctrl.h>

#include "mainwindow/attribute_rows_list.h"
#include "mainwindow/clipboard.h"
#include "mainwindow/layout_hold.h"
#include "resources/resource.h"

namespace {

enum Tab { kAttributesTab = 0, kDependenciesTab = 1, kRegistryTab = 2 };
// The strip below the pages that holds the Close button.
const int kButtonStrip = 35;
const char kCaptionStart[] = "COM File Details - ";

}  // namespace

CComFileDetailsDlg::CComFileDetailsDlg(corvane::CRegisteredObject& record, CWnd* parent)
    : CDialog(IDD_COM_FILE_DETAILS, parent), record_(record) {
  MapCommand(ID_COPY_ATTRIBUTE, [this] { CopySelectedValue(); });
}

CComFileDetailsDlg::~CComFileDetailsDlg() { DestroyWindow(); }

BOOL CComFileDetailsDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  attributes_.SubclassDlgItem(IDC_DETAILS_ATTRIBUTES, this);
  tabs_.SubclassDlgItem(IDC_DETAIL_TABS, this);
  images_.Create({IDB_REGISTRY_FACT, IDB_FILE_FACT, IDB_VERSION_STRING});
  attributes_.SetImageList(images_.handle(), LVSIL_SMALL);
  attributes_.InsertColumn(0, "Name");
  attributes_.InsertColumn(1, "Value");

  registry_page_.Create(this);
  dependency_page_.Create(this);

  tabs_.InsertItem(kAttributesTab, "Attributes");
  tabs_.InsertItem(kDependenciesTab, "Dependencies");
  tabs_.InsertItem(kRegistryTab, "Registry Entries");
  ShowTab(kAttributesTab);

  AttributeRowsList rows(attributes_);
  record_.FillAttributes(rows);
  record_.FillDependencies(dependency_page_.tree());
  record_.FillRegistryTree(registry_page_.key_tree());

  // A size change of the dialog lays out the tabs, the pages and the list at its final size.
  RECT frame = {};
  GetWindowRect(hwnd_, &frame);
  MoveWindow(hwnd_, frame.left - 1, frame.top - 1, frame.right - frame.left + 2,
             frame.bottom - frame.top + 2, TRUE);

  SetWindowText(kCaptionStart + record_.GetName());
  MessageBeep(0xFFFFFFFF);
  return TRUE;
}

void CComFileDetailsDlg::ShowTab(int tab) {
  HWND shown = nullptr;
  const struct {
    int tab;
    HWND window;
  } views[] = {{kAttributesTab, attributes_.GetSafeHwnd()},
               {kDependenciesTab, dependency_page_.GetSafeHwnd()},
               {kRegistryTab, registry_page_.GetSafeHwnd()}};
  for (const auto& view : views) {
    if (view.window == nullptr) continue;
    if (view.tab == tab) {
      shown = view.window;
    } else {
      ShowWindow(view.window, SW_HIDE);
    }
  }
  if (shown != nullptr) {
    ShowWindow(shown, SW_SHOW);
    UpdateWindow(shown);
  }
}

void CComFileDetailsDlg::Layout(int width, int height) {
  // The dialog has its final size now: the pages may lay themselves out from here on.
  SetLayoutHold(false);
  RECT own = {};
  GetWindowRect(tabs_, &own);
  const int tab_height = own.bottom - own.top;
  MoveWindow(tabs_, 0, 0, width, tab_height, TRUE);
  const int page_width = width - 2;
  const int page_height = height - tab_height - kButtonStrip;
  for (HWND page : {dependency_page_.GetSafeHwnd(), registry_page_.GetSafeHwnd(),
                    attributes_.GetSafeHwnd()}) {
    if (page != nullptr) MoveWindow(page, 1, tab_height, page_width, page_height, TRUE);
  }
  if (attributes_.GetSafeHwnd() != nullptr) FitNameValueColumns(attributes_);
}

void CComFileDetailsDlg::ShowAttributeMenu(const NMHDR* header) {
  POINT point = reinterpret_cast<const NMITEMACTIVATE*>(header)->ptAction;
  ClientToScreen(header->hwndFrom, &point);
  HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_ATTRIBUTE_MENU));
  if (menu == nullptr) return;
  TrackPopupMenu(GetSubMenu(menu, 0), TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, 0,
                 hwnd_, nullptr);
  DestroyMenu(menu);
}

void CComFileDetailsDlg::CopySelectedValue() {
  if (attributes_.GetSafeHwnd() == nullptr) return;
  int row = attributes_.GetNextItem(-1, LVNI_SELECTED);
  if (row < 0) return;
  CopyTextToClipboard(attributes_.GetItemText(row, 1));
}

LRESULT CComFileDetailsDlg::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lp);
      if (header->idFrom == IDC_DETAIL_TABS && header->code == TCN_SELCHANGE) {
        ShowTab(tabs_.GetCurSel());
        return 0;
      }
      if (header->hwndFrom == attributes_.GetSafeHwnd() && header->code == NM_RCLICK) {
        ShowAttributeMenu(header);
        return 0;
      }
      break;
    }
    case WM_SIZE: {
      LRESULT result = CDialog::WindowProc(msg, wp, lp);
      if (tabs_.GetSafeHwnd() != nullptr) Layout(LOWORD(lp), HIWORD(lp));
      return result;
    }
    case WM_DESTROY: {
      LRESULT result = CDialog::WindowProc(msg, wp, lp);
      dependency_page_.DestroyWindow();
      registry_page_.DestroyWindow();
      return result;
    }
    default:
      break;
  }
  return CDialog::WindowProc(msg, wp, lp);
}
