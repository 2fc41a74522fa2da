// A report-view list that draws its own rows: the selection highlight covers the whole row up
// to the client area's right edge, images are blended for selected and cut rows, and the label
// is shortened with "..." to fit its column. Derived lists draw the texts in DrawItemText.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>

#include "framework/list_ctrl.h"

class CListViewEx : public CListCtrl {
 public:
  CListViewEx();

  // Fits text to width pixels less offset, ending it in "..." when it does not fit.
  static void ShortenText(HDC dc, std::string& text, int width, int offset);

  bool PreCreateWindow(CREATESTRUCTA& cs) override;
  bool OnChildNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;

  int full_row_selection() const { return full_row_selection_; }
  int client_width_selection() const { return client_width_selection_; }
  int client_width() const { return client_width_; }
  int state_image_offset() const { return state_image_offset_; }
  COLORREF text_bk_color() const { return text_bk_color_; }
  COLORREF bk_color() const { return bk_color_; }

 protected:
  // Draws one row of the list (owner drawing reflected by the parent).
  virtual void DrawItem(const DRAWITEMSTRUCT& request);
  // Draws the texts of a row; label is already shortened, label_rect is item narrowed by 2.
  virtual void DrawItemText(const std::string& label, bool selected, const RECT& item,
                            const RECT& label_rect, int index, const LVITEMA& description,
                            HDC dc);
  // Draws the cells of columns 1 on, while the list reports them: each begins at the right
  // edge of the one before (the first at item's right edge) and is as wide as its column; its
  // text is shortened to that width less offset and drawn inset by margin on both sides, in
  // the colour that colour gives for the column and text (none: the current colour).
  void DrawFurtherCells(int index, const RECT& item, HDC dc, int offset, int margin, UINT flags,
                        const std::function<COLORREF(int, const std::string&)>& colour = {});

  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  bool IsReportView() const { return (GetStyle() & LVS_TYPEMASK) == LVS_REPORT; }
  // The row's bounds from the left edge of its label area.
  bool GetHighlightBounds(int index, RECT* rect) const;
  void WidenPaintArea();
  void RepaintSelectedRows();
  void OnSetImageList(WPARAM which, HIMAGELIST list);

  int full_row_selection_ = 0;
  int client_width_selection_ = 1;
  int client_width_ = 0;
  int state_image_offset_ = 0;
  COLORREF text_bk_color_;
  COLORREF bk_color_;
};
