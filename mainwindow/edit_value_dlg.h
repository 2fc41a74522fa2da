// Edit Value: the name of a string value, shown, and its data, edited.
#pragma once
#include <string>

#include "framework/dialog.h"

class CEditValueDlg : public CDialog {
 public:
  // On OK the edited text replaces data; otherwise data is left alone.
  CEditValueDlg(const std::string& name, std::string& data, CWnd* parent = nullptr);
  ~CEditValueDlg() override;

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;

 private:
  void ShowIconOnFace();

  std::string name_;
  std::string& data_;
  HBITMAP icon_ = nullptr;
};
