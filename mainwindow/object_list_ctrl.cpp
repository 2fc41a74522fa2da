#include "mainwindow/object_list_ctrl.h"

#include <utility>

#include "mainwindow/object_list_rules.h"

using corvane::CRegisteredObject;

void CObjectListCtrl::SetRows(std::vector<Row> rows, int label_choice) {
  rows_ = std::move(rows);
  label_choice_ = label_choice;
  SetItemState(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  // The rows already shown are drawn again with their new data; new rows start at the top.
  SendMessage(LVM_SETITEMCOUNT, rows_.size(), LVSICF_NOSCROLL);
  if (!rows_.empty()) SendMessage(LVM_ENSUREVISIBLE, 0, FALSE);
}

CRegisteredObject* CObjectListCtrl::RecordAt(int index) const {
  if (index < 0 || index >= RowCount()) return nullptr;
  return rows_[index].record;
}

void CObjectListCtrl::SetImage(int index, int image) {
  if (index < 0 || index >= RowCount()) return;
  rows_[index].image = image;
  SendMessage(LVM_REDRAWITEMS, index, index);
}

void CObjectListCtrl::DeleteRow(int index) {
  if (index < 0 || index >= RowCount()) return;
  rows_.erase(rows_.begin() + index);
  // The control moves the selection of the rows below up and counts one item fewer.
  SendMessage(LVM_DELETEITEM, index);
}

std::vector<CRegisteredObject*> CObjectListCtrl::Records() const {
  std::vector<CRegisteredObject*> records;
  records.reserve(rows_.size());
  for (const Row& row : rows_) records.push_back(row.record);
  return records;
}

std::string CObjectListCtrl::LabelAt(int index) const {
  const CRegisteredObject* record = RecordAt(index);
  return record != nullptr ? corvane::RecordLabel(*record, label_choice_) : std::string();
}

void CObjectListCtrl::AnswerDisplayInfo(LVITEMA& item) const {
  if (item.iItem < 0 || item.iItem >= RowCount()) return;
  const Row& row = rows_[item.iItem];
  if ((item.mask & LVIF_TEXT) != 0 && item.pszText != nullptr && item.cchTextMax > 0) {
    // Only the label column exists.
    const std::string label = item.iSubItem == 0 ? LabelAt(item.iItem) : std::string();
    lstrcpynA(item.pszText, label.c_str(), item.cchTextMax);
  }
  if ((item.mask & LVIF_IMAGE) != 0) item.iImage = row.image;
  if ((item.mask & LVIF_PARAM) != 0) item.lParam = reinterpret_cast<LPARAM>(row.record);
}

// Typing in the list jumps to the next label that begins with the letters typed, wrapping.
int CObjectListCtrl::FindLabel(const std::string& typed, int start) const {
  const int count = RowCount();
  if (typed.empty() || count == 0) return -1;
  const int length = static_cast<int>(typed.size());
  if (start < 0 || start >= count) start = 0;
  for (int step = 0; step < count; ++step) {
    const int index = (start + step) % count;
    const std::string label = LabelAt(index);
    if (static_cast<int>(label.size()) >= length &&
        CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, label.c_str(), length,
                       typed.c_str(), length) == CSTR_EQUAL) {
      return index;
    }
  }
  return -1;
}

bool CObjectListCtrl::OnChildNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
  if (msg == WM_NOTIFY) {
    auto* header = reinterpret_cast<NMHDR*>(lp);
    switch (header->code) {
      case LVN_GETDISPINFOA:
        AnswerDisplayInfo(reinterpret_cast<NMLVDISPINFOA*>(header)->item);
        *result = 0;
        return true;
      case LVN_ODFINDITEMA: {
        const auto* find = reinterpret_cast<NMLVFINDITEMA*>(header);
        *result = FindLabel(find->lvfi.psz != nullptr ? find->lvfi.psz : "", find->iStart);
        return true;
      }
      case LVN_ODFINDITEMW: {
        // Some list views ask in wide characters whatever the parent's format.
        const auto* find = reinterpret_cast<NMLVFINDITEMW*>(header);
        char typed[MAX_PATH] = "";
        if (find->lvfi.psz != nullptr)
          WideCharToMultiByte(CP_ACP, 0, find->lvfi.psz, -1, typed, sizeof typed, nullptr,
                              nullptr);
        typed[sizeof typed - 1] = '\0';
        *result = FindLabel(typed, find->iStart);
        return true;
      }
      default:
        break;
    }
  }
  return CListViewEx::OnChildNotify(msg, wp, lp, result);
}

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
