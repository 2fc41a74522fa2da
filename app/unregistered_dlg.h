// After a control is unregistered: shows its name and file and offers to delete the file.
#pragma once
#include <string>

#include "framework/dialog.h"

class CUnregisteredDlg : public CDialog {
 public:
  CUnregisteredDlg(const std::string& name, const std::string& path, CWnd* parent = nullptr);

 protected:
  BOOL OnInitDialog() override;

 private:
  void OnDeleteFile();

  std::string name_;
  std::string path_;
};
