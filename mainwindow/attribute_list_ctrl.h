// The attributes pane's Name and Value rows: "File Location" and "ProgID" in a heavier font,
// every further cell shortened to its column.
#pragma once
#include "mainwindow/list_view_ex.h"

class CAttributeListCtrl : public CListViewEx {
 public:
  static constexpr int kCellOffset = 12;
  static constexpr int kCellMargin = 6;
  static constexpr int kEmphasisWeight = 600;

 protected:
  void DrawItemText(const std::string& label, bool selected, const RECT& item,
                    const RECT& label_rect, int index, const LVITEMA& description,
                    HDC dc) override;
};
