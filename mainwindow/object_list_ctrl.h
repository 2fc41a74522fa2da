// The object list: misbehaved records in red, bold and underlined (yellow when selected).
#pragma once
#include "mainwindow/list_view_ex.h"

class CObjectListCtrl : public CListViewEx {
 protected:
  void DrawItemText(const std::string& label, bool selected, const RECT& item,
                    const RECT& label_rect, int index, const LVITEMA& description,
                    HDC dc) override;
};
