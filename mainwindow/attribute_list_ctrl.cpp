#include "mainwindow/attribute_list_ctrl.h"

namespace {

const UINT kTextFlags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_NOCLIP;

bool Emphasised(const std::string& label) { return label == "File Location" || label == "ProgID"; }

}  // namespace

void CAttributeListCtrl::DrawItemText(const std::string& label, bool, const RECT& item,
                                      const RECT& label_rect, int index, const LVITEMA&,
                                      HDC dc) {
  HFONT heavier = nullptr;
  HGDIOBJ old_font = nullptr;
  if (Emphasised(GetItemText(index, 0))) {
    LOGFONTA font = {};
    GetObjectA(GetCurrentObject(dc, OBJ_FONT), sizeof font, &font);
    font.lfWeight = kEmphasisWeight;
    heavier = CreateFontIndirectA(&font);
    if (heavier != nullptr) old_font = SelectObject(dc, heavier);
  }
  RECT area = label_rect;
  DrawTextA(dc, label.c_str(), static_cast<int>(label.size()), &area, kTextFlags);

  // Further columns, until the list has no more.
  int left = item.right;
  for (int column = 1;; ++column) {
    LVCOLUMNA info = {};
    info.mask = LVCF_WIDTH;
    if (!SendMessage(LVM_GETCOLUMNA, column, reinterpret_cast<LPARAM>(&info))) break;
    RECT cell = {left, item.top, left + info.cx, item.bottom};
    left = cell.right;
    std::string text = GetItemText(index, column);
    ShortenText(dc, text, info.cx, kCellOffset);
    RECT inner = {cell.left + kCellMargin, cell.top, cell.right - kCellMargin, cell.bottom};
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &inner, kTextFlags);
  }
  if (heavier != nullptr) {
    SelectObject(dc, old_font);
    DeleteObject(heavier);
  }
}
