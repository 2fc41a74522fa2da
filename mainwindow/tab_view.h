// The details tabs at the bottom right: Dependencies and Registry Entries.
#pragma once
#include "framework/form_view.h"

class CTabView : public CFormView {
 public:
  CTabView();
  void OnInitialUpdate() override;

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
};
