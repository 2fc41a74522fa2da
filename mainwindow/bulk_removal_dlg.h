// The one question before several misbehaved records are removed in one command: how many,
// and on request the list of them.
#pragma once
#include <string>
#include <vector>

#include "framework/dialog.h"

class CBulkRemovalDlg : public CDialog {
 public:
  // lines: one per record to be removed, shown by "Show list".
  CBulkRemovalDlg(const std::string& text, std::vector<std::string> lines, CWnd* parent = nullptr);

 protected:
  BOOL OnInitDialog() override;
  void OnCancel() override;
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  // Shows or hides the list, growing or shrinking the dialog to fit.
  void ShowList(bool show);

  std::string text_;
  std::vector<std::string> lines_;
  int full_height_ = 0;
  int short_height_ = 0;
};
