#include "mainwindow/attribute_rows_list.h"

#include <commctrl.h>

namespace {
// Room the header leaves around its text.
const int kHeadingMargin = 16;
}  // namespace

void AttributeRowsList::AddAttributeRow(const std::string& label, const std::string& value,
                                        int image) {
  LVITEMA item = {};
  item.mask = LVIF_TEXT | LVIF_IMAGE;
  item.iItem = static_cast<int>(SendMessageA(list_, LVM_GETITEMCOUNT, 0, 0));
  item.pszText = const_cast<char*>(label.c_str());
  item.iImage = image;
  int index =
      static_cast<int>(SendMessageA(list_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
  if (index < 0) return;
  LVITEMA cell = {};
  cell.iSubItem = 1;
  cell.pszText = const_cast<char*>(value.c_str());
  SendMessageA(list_, LVM_SETITEMTEXTA, index, reinterpret_cast<LPARAM>(&cell));
}

void FitNameValueColumns(HWND list) {
  SendMessageA(list, LVM_SETCOLUMNWIDTH, 0, LVSCW_AUTOSIZE);
  int names = static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, 0, 0));
  char heading[64] = "";
  LVCOLUMNA column = {};
  column.mask = LVCF_TEXT;
  column.pszText = heading;
  column.cchTextMax = sizeof heading;
  SendMessageA(list, LVM_GETCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
  int least = static_cast<int>(
                  SendMessageA(list, LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(heading))) +
              kHeadingMargin;
  if (names < least) SendMessageA(list, LVM_SETCOLUMNWIDTH, 0, least);
  SendMessageA(list, LVM_SETCOLUMNWIDTH, 1, LVSCW_AUTOSIZE_USEHEADER);
}
