// The attributes pane at the top right: Name and Value rows of the selected record.
#pragma once
#include "framework/form_view.h"

class CPlenorView : public CFormView {
 public:
  CPlenorView();
  void OnInitialUpdate() override;

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
};
