// The Compare COM Files dialog: a fixed first file, a second one chosen with Browse, and the
// twelve file and version attributes of both side by side.
#pragma once
#include <string>

#include "framework/dialog.h"
#include "framework/list_ctrl.h"
#include "mainwindow/masked_image_list.h"

class CCompareFilesDlg : public CDialog {
 public:
  explicit CCompareFilesDlg(const std::string& first_path, CWnd* parent = nullptr);
  ~CCompareFilesDlg() override;

  // Compares the first file with path and shows the rows and the result text.
  void CompareWith(const std::string& path);

  const std::string& first_path() const { return first_path_; }
  CListCtrl& results() { return results_; }

 protected:
  BOOL OnInitDialog() override;
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void OnBrowse();
  void OnHelp();

  std::string first_path_;
  CMaskedImageList images_;
  CListCtrl results_;
};
