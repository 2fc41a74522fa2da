// The left pane: the category tabs over the object list.
#pragma once
#include "framework/form_view.h"

class CObjectTree : public CFormView {
 public:
  CObjectTree();
  void OnInitialUpdate() override;

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void Layout(int width, int height);
};
