// A static splitter: a fixed grid of panes with bars between them that the user can drag.
// Every column but the last keeps its ideal width, every row but the last its ideal height;
// the last column and row take the rest. Its owner keeps the object (usually as a member).
#pragma once
#include <functional>
#include <vector>

#include "framework/view.h"

class CSplitterWnd : public CWnd {
 public:
  static constexpr int kBarSize = 6;

  bool CreateStatic(CWnd* parent, int rows, int columns, DWORD style = WS_CHILD | WS_VISIBLE,
                    UINT id = 59648);
  // Creates the view of a cell; size gives the ideal width of its column and height of its row.
  bool CreateView(int row, int column, const std::function<CView*()>& new_view, SIZE size,
                  CCreateContext* context);

  int IdFromRowCol(int row, int column) const { return 59648 + row * 16 + column; }
  CWnd* GetPane(int row, int column) const;
  int GetRowCount() const { return static_cast<int>(row_ideal_.size()); }
  int GetColumnCount() const { return static_cast<int>(column_ideal_.size()); }
  int GetRowIdeal(int row) const { return row_ideal_[row]; }
  int GetColumnIdeal(int column) const { return column_ideal_[column]; }
  void SetRowIdeal(int row, int height);
  void SetColumnIdeal(int column, int width);
  void RecalcLayout();

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  // The bar under a point: (true, index) for a column bar, (false, index) for a row bar.
  bool HitBar(POINT point, bool* vertical, int* index) const;
  std::vector<int> Sizes(const std::vector<int>& ideal, int total) const;

  std::vector<int> row_ideal_;
  std::vector<int> column_ideal_;
  bool dragging_ = false;
  bool drag_vertical_ = false;
  int drag_index_ = 0;
};
