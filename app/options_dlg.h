// The Options dialog: the object list's filter and label, and the notifications after
// registering, unregistering and removing. Works on the settings it is given.
#pragma once
#include "app/settings.h"
#include "framework/dialog.h"

class COptionsDlg : public CDialog {
 public:
  explicit COptionsDlg(corvane::Settings& settings, CWnd* parent = nullptr);

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* dx) override;
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
  // Opens the dialog's help topic, owned by the main window.
  virtual void OnHelp();

 private:
  void FillLists();

  corvane::Settings& settings_;
};
