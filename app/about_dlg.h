// The About box: the program's name and version in bold, the maker's notices and a link to
// the maker's web site.
#pragma once
#include "framework/dialog.h"
#include "widgets/hyper_link.h"
#include "widgets/ox_static.h"

class CAboutDlg : public CDialog {
 public:
  explicit CAboutDlg(CWnd* parent = nullptr);

 protected:
  BOOL OnInitDialog() override;

 private:
  void SetUpTitle();
  void SetUpLink();

  COXStatic title_;
  CHyperLinkDL link_;
};
