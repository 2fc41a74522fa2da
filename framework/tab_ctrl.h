// The comctl32 tab control.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "framework/wnd.h"

class CTabCtrl : public CWnd {
 public:
  int InsertItem(int index, const std::string& text) {
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(text.c_str());
    return static_cast<int>(SendMessage(TCM_INSERTITEMA, index, reinterpret_cast<LPARAM>(&item)));
  }
  int GetCurSel() const { return static_cast<int>(SendMessage(TCM_GETCURSEL)); }
  int SetCurSel(int index) { return static_cast<int>(SendMessage(TCM_SETCURSEL, index)); }
  int GetItemCount() const { return static_cast<int>(SendMessage(TCM_GETITEMCOUNT)); }
  // The page area inside the tabs, in the control's client coordinates.
  void AdjustRect(bool larger, RECT* rect) const {
    SendMessage(TCM_ADJUSTRECT, larger, reinterpret_cast<LPARAM>(rect));
  }
};
