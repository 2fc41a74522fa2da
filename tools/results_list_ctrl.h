// The comparison results list: missing registrations in red and other versions in green in
// the computers' columns.
#pragma once
#include "mainwindow/list_view_ex.h"

class CResultsListCtrl : public CListViewEx {
 public:
  // The colour of a cell's text when its row is not selected.
  static COLORREF CellColour(int column, const std::string& text);

 protected:
  void DrawItemText(const std::string& label, bool selected, const RECT& item,
                    const RECT& label_rect, int index, const LVITEMA& description,
                    HDC dc) override;
};
