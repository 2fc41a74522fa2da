// Compare with other computers: the records and the computer list, the list edited through
// the Computers dialog, and Compare opening the results.
#pragma once
#include <string>
#include <vector>

#include "catalogue/registered_object.h"
#include "framework/dialog.h"
#include "framework/list_ctrl.h"

class CCompareComputersDlg : public CDialog {
 public:
  // records: the caller's, which the catalogue owns; computers: the application's list.
  CCompareComputersDlg(const std::vector<corvane::CRegisteredObject*>& records,
                       const std::string& category, std::vector<std::string>& computers,
                       CWnd* parent = nullptr);
  ~CCompareComputersDlg() override;

  CListCtrl& objects() { return objects_; }
  CListCtrl& computers() { return computer_list_; }

 protected:
  BOOL OnInitDialog() override;
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void FillComputers();
  void OnAddRemove();
  void OnCompare();

  const std::vector<corvane::CRegisteredObject*>& records_;
  HIMAGELIST images_ = nullptr;
  std::string category_;
  std::vector<std::string>& computer_names_;
  CListCtrl computer_list_;
  CListCtrl objects_;
};
