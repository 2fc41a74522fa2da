// Find Missing Dependencies: walks the server file of every record in the object list and
// marks the items whose server needs a DLL that can't be found.
#pragma once
#include <string>

#include "framework/dialog.h"
#include "mainwindow/object_list_ctrl.h"

class CMissingDependenciesDlg : public CDialog {
 public:
  // list: the object list; category: its tab's text.
  CMissingDependenciesDlg(CObjectListCtrl& list, const std::string& category, CWnd* parent = nullptr);
  ~CMissingDependenciesDlg() override;

  // Runs the one search this dialog allows.
  void Search();

 protected:
  BOOL OnInitDialog() override;
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void ShowCount(int id, long count);

  std::string category_;
  CObjectListCtrl* list_;
  HWND progress_ = nullptr;
};
