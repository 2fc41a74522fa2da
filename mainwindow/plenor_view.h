// The attributes pane at the top right: the Name and Value rows of the selected record.
#pragma once
#include "framework/form_view.h"
#include "mainwindow/attribute_list_ctrl.h"
#include "mainwindow/masked_image_list.h"

class CPlenorView : public CFormView {
 public:
  CPlenorView();
  void OnInitialUpdate() override;

  CAttributeListCtrl& list() { return list_; }
  // Puts the "Value" text of the first selected row on the clipboard.
  void CopySelectedValue();

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void ShowContextMenu();

  CMaskedImageList images_;
  CAttributeListCtrl list_;
};
