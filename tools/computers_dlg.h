// The Computers dialog: the computer list edited on a copy in the list control, names added
// by browsing the network neighbourhood, the list replaced only by OK.
#pragma once
#include <string>
#include <vector>

#include "framework/dialog.h"
#include "framework/list_ctrl.h"

class CComputersDlg : public CDialog {
 public:
  // computers: the application's list, replaced on OK.
  explicit CComputersDlg(std::vector<std::string>& computers, CWnd* parent = nullptr);
  ~CComputersDlg() override;

  CListCtrl& list() { return list_; }

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void OnAdd();
  void OnRemove();
  void UpdateButtons();
  std::vector<std::string> Names() const;

  std::vector<std::string>& computers_;
  HIMAGELIST images_ = nullptr;
  CListCtrl list_;
};
