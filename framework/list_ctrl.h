// The comctl32 list view control.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "framework/wnd.h"

class CListCtrl : public CWnd {
 public:
  bool Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

  int InsertColumn(int index, const char* heading, int format = LVCFMT_LEFT, int width = -1);
  int InsertItem(int index, const std::string& text, int image = 0);
  bool SetItemText(int index, int column, const std::string& text);
  std::string GetItemText(int index, int column) const;
  int GetItemCount() const { return static_cast<int>(SendMessage(LVM_GETITEMCOUNT)); }
  int GetSelectedCount() const { return static_cast<int>(SendMessage(LVM_GETSELECTEDCOUNT)); }
  bool GetItem(LVITEMA* item) const {
    return SendMessage(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(item)) != 0;
  }
  bool SetItemState(int index, UINT state, UINT mask);
  UINT GetItemState(int index, UINT mask) const {
    return static_cast<UINT>(SendMessage(LVM_GETITEMSTATE, index, mask));
  }
  // code is LVIR_BOUNDS, LVIR_ICON or LVIR_LABEL.
  bool GetItemRect(int index, RECT* rect, int code) const;
  int GetNextItem(int start, int flags) const {
    return static_cast<int>(SendMessage(LVM_GETNEXTITEM, start, flags));
  }
  HIMAGELIST GetImageList(int which) const {
    return reinterpret_cast<HIMAGELIST>(SendMessage(LVM_GETIMAGELIST, which));
  }
  HIMAGELIST SetImageList(HIMAGELIST list, int which) {
    return reinterpret_cast<HIMAGELIST>(
        SendMessage(LVM_SETIMAGELIST, which, reinterpret_cast<LPARAM>(list)));
  }
  bool DeleteAllItems() { return SendMessage(LVM_DELETEALLITEMS) != 0; }
};
