#include "mainwindow/dependency_tree_ctrl.h"

#include <algorithm>

CDependencyTreeCtrl::~CDependencyTreeCtrl() { Clear(); }

void CDependencyTreeCtrl::InsertEntry(std::unique_ptr<corvane::CFileObject> entry, int image) {
  if (entry == nullptr || hwnd_ == nullptr) return;
  TVINSERTSTRUCTA insert = {};
  insert.hParent = TVI_ROOT;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
  insert.item.pszText = const_cast<char*>(entry->module_name().c_str());
  insert.item.iImage = image;
  insert.item.iSelectedImage = image;
  insert.item.lParam = reinterpret_cast<LPARAM>(entry.get());
  if (SendMessage(TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)) != 0)
    entries_.push_back(std::move(entry));
}

corvane::CFileObject* CDependencyTreeCtrl::GetEntry(HTREEITEM item) const {
  if (item == nullptr || hwnd_ == nullptr) return nullptr;
  TVITEMA info = {};
  info.mask = TVIF_PARAM;
  info.hItem = item;
  if (SendMessage(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&info)) == 0) return nullptr;
  auto* entry = reinterpret_cast<corvane::CFileObject*>(info.lParam);
  auto owned = std::find_if(entries_.begin(), entries_.end(),
                            [entry](const auto& held) { return held.get() == entry; });
  return owned != entries_.end() ? entry : nullptr;
}

void CDependencyTreeCtrl::Clear() {
  if (hwnd_ != nullptr) {
    // Items lose their data first, so that selection changes while they go see none.
    for (HTREEITEM item = TreeView_GetRoot(hwnd_); item != nullptr;
         item = GetNextSiblingItem(item)) {
      TVITEMA info = {};
      info.mask = TVIF_PARAM;
      info.hItem = item;
      info.lParam = 0;
      SendMessage(TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&info));
    }
    DeleteAllItems();
  }
  entries_.clear();
}
