#include "mainwindow/key_tree_ctrl.h"

namespace {
const int kKeyImage = 0;
const int kSelectedKeyImage = 1;
}  // namespace

HTREEITEM CKeyTreeCtrl::ToHandle(corvane::TreeItem item) {
  return item == corvane::kTreeRoot ? TVI_ROOT : reinterpret_cast<HTREEITEM>(item);
}

corvane::TreeItem CKeyTreeCtrl::InsertItem(corvane::TreeItem parent, const std::string& text) {
  HTREEITEM item = tree_.InsertItem(text, ToHandle(parent), TVI_LAST, kKeyImage, kSelectedKeyImage);
  return reinterpret_cast<corvane::TreeItem>(item);
}

void CKeyTreeCtrl::Expand(corvane::TreeItem item) {
  if (item != corvane::kTreeRoot) tree_.Expand(ToHandle(item), TVE_EXPAND);
}
