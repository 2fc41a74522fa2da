#include "mainwindow/dependency_page.h"

#include <commctrl.h>

#include "mainwindow/attribute_rows_list.h"
#include "mainwindow/layout_hold.h"
#include "resources/resource.h"

namespace {
const int kGap = 4;
const int kColumnWidth = 50;
}  // namespace

CDependencyPage::CDependencyPage() : CDialog(IDD_DEPENDENCY_PAGE) {}

// The window goes first, while the tree and the list can still answer its notifications.
CDependencyPage::~CDependencyPage() { DestroyWindow(); }

BOOL CDependencyPage::OnInitDialog() {
  CDialog::OnInitDialog();
  tree_.SubclassDlgItem(IDC_DEPENDENCY_TREE, this);
  list_.SubclassDlgItem(IDC_DEPENDENCY_LIST, this);
  images_.Create({IDB_DEPENDENCY_FOUND, IDB_MISBEHAVED, IDB_FILE_FACT, IDB_VERSION_STRING,
                  IDB_DEPENDENCY_DELAYED});
  tree_.SetImageList(images_.handle(), TVSIL_NORMAL);
  list_.SetImageList(images_.handle(), LVSIL_SMALL);
  list_.InsertColumn(0, "Name", LVCFMT_LEFT, kColumnWidth);
  list_.InsertColumn(1, "Value", LVCFMT_LEFT, kColumnWidth);
  // A page being made must not take the focus from the window the user is in.
  return FALSE;
}

void CDependencyPage::Fill(corvane::CRegisteredObject& record) { record.FillDependencies(tree_); }

void CDependencyPage::Clear() {
  tree_.Clear();
  if (list_.GetSafeHwnd() != nullptr && list_.GetItemCount() > 0) list_.DeleteAllItems();
}

void CDependencyPage::ShowEntryAttributes(HTREEITEM item) {
  HWND list = list_.GetSafeHwnd();
  if (list == nullptr) return;
  ::SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  list_.DeleteAllItems();
  if (corvane::CFileObject* entry = tree_.GetEntry(item)) {
    AttributeRowsList rows(list);
    entry->FillAttributes(rows);
  }
  FitNameValueColumns(list);
  ::SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
  UpdateWindow(list);
}

void CDependencyPage::Layout(int width, int height) {
  if (tree_.GetSafeHwnd() == nullptr || list_.GetSafeHwnd() == nullptr) return;
  // Whole-number arithmetic: three tenths and seven tenths, truncated.
  const int tree_width = width * 3 / 10;
  MoveWindow(tree_, 0, 0, tree_width, height, TRUE);
  MoveWindow(list_, tree_width + kGap, 0, width * 7 / 10 - kGap, height, TRUE);
  FitNameValueColumns(list_);
}

LRESULT CDependencyPage::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lp);
      if (header->idFrom == IDC_DEPENDENCY_TREE &&
          (header->code == TVN_SELCHANGEDA || header->code == TVN_SELCHANGEDW)) {
        // Both forms carry the new item's handle at the same place.
        ShowEntryAttributes(reinterpret_cast<NMTREEVIEWA*>(lp)->itemNew.hItem);
        return 0;
      }
      break;
    }
    case WM_SIZE: {
      LRESULT result = CDialog::WindowProc(msg, wp, lp);
      if (!LayoutHeld()) Layout(LOWORD(lp), HIWORD(lp));
      return result;
    }
    case WM_DESTROY:
      Clear();
      break;
    default:
      break;
  }
  return CDialog::WindowProc(msg, wp, lp);
}
