// The comctl32 tree view control.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "framework/wnd.h"

class CTreeCtrl : public CWnd {
 public:
  HTREEITEM InsertItem(const std::string& text, HTREEITEM parent = TVI_ROOT,
                       HTREEITEM after = TVI_LAST, int image = 0, int selected_image = 0);
  std::string GetItemText(HTREEITEM item) const;
  HTREEITEM GetSelectedItem() const { return TreeView_GetSelection(hwnd_); }
  HTREEITEM GetChildItem(HTREEITEM item) const { return TreeView_GetChild(hwnd_, item); }
  HTREEITEM GetNextSiblingItem(HTREEITEM item) const { return TreeView_GetNextSibling(hwnd_, item); }
  bool SelectItem(HTREEITEM item) { return TreeView_SelectItem(hwnd_, item) != FALSE; }
  bool Expand(HTREEITEM item, UINT code) { return TreeView_Expand(hwnd_, item, code) != FALSE; }
  bool DeleteAllItems() { return TreeView_DeleteAllItems(hwnd_) != FALSE; }
  HIMAGELIST SetImageList(HIMAGELIST list, int which) { return TreeView_SetImageList(hwnd_, list, which); }
};
