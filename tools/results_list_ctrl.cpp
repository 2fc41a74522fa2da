#include "tools/results_list_ctrl.h"

namespace {

const UINT kTextFlags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_NOCLIP;
const int kCellOffset = 12;
const int kCellMargin = 6;
const COLORREF kBlack = RGB(0, 0, 0);

}  // namespace

COLORREF CResultsListCtrl::CellColour(int column, const std::string& text) {
  if (column >= 2 && !text.empty()) {
    if (text[0] == 'M') return RGB(255, 0, 0);
    if (text[0] == 'V') return RGB(0, 128, 0);
  }
  return kBlack;
}

void CResultsListCtrl::DrawItemText(const std::string& label, bool selected, const RECT& item,
                                    const RECT& label_rect, int index, const LVITEMA&, HDC dc) {
  const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHTTEXT);
  SetTextColor(dc, selected ? highlight : kBlack);
  RECT area = label_rect;
  DrawTextA(dc, label.c_str(), static_cast<int>(label.size()), &area, kTextFlags);

  DrawFurtherCells(index, item, dc, kCellOffset, kCellMargin, kTextFlags,
                   [selected, highlight](int column, const std::string& text) {
                     return selected ? highlight : CellColour(column, text);
                   });
}
