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

  DrawFurtherCells(index, item, dc, kCellOffset, kCellMargin, kTextFlags);
  if (heavier != nullptr) {
    SelectObject(dc, old_font);
    DeleteObject(heavier);
  }
}
