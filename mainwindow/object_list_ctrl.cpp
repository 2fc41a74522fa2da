#include "mainwindow/object_list_ctrl.h"

#include "mainwindow/object_list_rules.h"

void CObjectListCtrl::DrawItemText(const std::string& label, bool selected, const RECT&,
                                   const RECT& label_rect, int, const LVITEMA& description,
                                   HDC dc) {
  HFONT emphasis = nullptr;
  HGDIOBJ old_font = nullptr;
  if (corvane::DrawnMisbehaved(description.iImage)) {
    SetTextColor(dc, selected ? RGB(255, 255, 0) : RGB(255, 0, 0));
    LOGFONTA font = {};
    GetObjectA(GetCurrentObject(dc, OBJ_FONT), sizeof font, &font);
    font.lfWeight = FW_BOLD;
    font.lfUnderline = TRUE;
    emphasis = CreateFontIndirectA(&font);
    if (emphasis != nullptr) old_font = SelectObject(dc, emphasis);
  } else {
    SetTextColor(dc, selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : RGB(0, 0, 0));
  }
  RECT area = label_rect;
  DrawTextA(dc, label.c_str(), static_cast<int>(label.size()), &area,
            DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_NOCLIP);
  if (emphasis != nullptr) {
    SelectObject(dc, old_font);
    DeleteObject(emphasis);
  }
}
