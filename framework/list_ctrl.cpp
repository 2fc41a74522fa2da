#include "framework/list_ctrl.h"

#include <vector>

bool CListCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CreateEx(0, WC_LISTVIEWA, "", style, rect, parent->GetSafeHwnd(), id);
}

int CListCtrl::InsertColumn(int index, const char* heading, int format, int width) {
  LVCOLUMNA column = {};
  column.mask = LVCF_TEXT | LVCF_FMT | (width >= 0 ? LVCF_WIDTH : 0);
  column.fmt = format;
  column.cx = width;
  column.pszText = const_cast<char*>(heading);
  return static_cast<int>(SendMessage(LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(&column)));
}

int CListCtrl::InsertItem(int index, const std::string& text, int image) {
  LVITEMA item = {};
  item.mask = LVIF_TEXT | LVIF_IMAGE;
  item.iItem = index;
  item.pszText = const_cast<char*>(text.c_str());
  item.iImage = image;
  return static_cast<int>(SendMessage(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

bool CListCtrl::SetItemText(int index, int column, const std::string& text) {
  LVITEMA item = {};
  item.iSubItem = column;
  item.pszText = const_cast<char*>(text.c_str());
  return SendMessage(LVM_SETITEMTEXTA, index, reinterpret_cast<LPARAM>(&item)) != 0;
}

std::string CListCtrl::GetItemText(int index, int column) const {
  // Grow the buffer until the text fits with room to spare.
  for (size_t size = 256;; size *= 4) {
    std::vector<char> text(size);
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = text.data();
    item.cchTextMax = static_cast<int>(size);
    size_t length = SendMessage(LVM_GETITEMTEXTA, index, reinterpret_cast<LPARAM>(&item));
    if (length + 1 < size || size > (1u << 20)) return std::string(text.data(), length);
  }
}

bool CListCtrl::SetItemState(int index, UINT state, UINT mask) {
  LVITEMA item = {};
  item.state = state;
  item.stateMask = mask;
  return SendMessage(LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&item)) != 0;
}

bool CListCtrl::GetItemRect(int index, RECT* rect, int code) const {
  rect->left = code;
  return SendMessage(LVM_GETITEMRECT, index, reinterpret_cast<LPARAM>(rect)) != 0;
}
