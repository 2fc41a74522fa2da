// The object list: a virtual list whose rows (record and image) are kept here rather than in
// the control, so that a tab of twenty thousand classes costs the control no storage per item.
// Misbehaved records are drawn in red, bold and underlined (yellow when selected).
#pragma once
#include <string>
#include <vector>

#include "catalogue/registered_object.h"
#include "mainwindow/list_view_ex.h"

class CObjectListCtrl : public CListViewEx {
 public:
  struct Row {
    corvane::CRegisteredObject* record;
    int image;
  };

  // Replaces every row, in the order shown; label_choice picks what labels the rows. The
  // selection is dropped.
  void SetRows(std::vector<Row> rows, int label_choice);
  // nullptr past the end.
  corvane::CRegisteredObject* RecordAt(int index) const;
  void SetImage(int index, int image);
  // Takes the row out; the rows after it move up with their selection.
  void DeleteRow(int index);
  std::vector<corvane::CRegisteredObject*> Records() const;
  int RowCount() const { return static_cast<int>(rows_.size()); }

  bool OnChildNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;

 protected:
  void DrawItemText(const std::string& label, bool selected, const RECT& item,
                    const RECT& label_rect, int index, const LVITEMA& description,
                    HDC dc) override;

 private:
  std::string LabelAt(int index) const;
  void AnswerDisplayInfo(LVITEMA& item) const;
  int FindLabel(const std::string& typed, int start) const;

  std::vector<Row> rows_;
  int label_choice_ = 0;
};
