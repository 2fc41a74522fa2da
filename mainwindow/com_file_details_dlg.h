// The COM File Details dialog: one record's attributes, dependencies and registry entries as
// three tabs, shown for a server file named on the command line.
#pragma once
#include "catalogue/registered_object.h"
#include "framework/dialog.h"
#include "framework/list_ctrl.h"
#include "framework/tab_ctrl.h"
#include "mainwindow/dependency_page.h"
#include "mainwindow/masked_image_list.h"
#include "mainwindow/registry_page.h"

class CComFileDetailsDlg : public CDialog {
 public:
  // The record belongs to the caller and must outlive the dialog.
  explicit CComFileDetailsDlg(corvane::CRegisteredObject& record, CWnd* parent = nullptr);
  ~CComFileDetailsDlg() override;

  // Puts the "Value" text of the first selected attribute row on the clipboard; nothing
  // without a selected row.
  void CopySelectedValue();

  CListCtrl& attributes() { return attributes_; }
  CTabCtrl& tabs() { return tabs_; }
  CDependencyPage& dependency_page() { return dependency_page_; }
  CRegistryPage& registry_page() { return registry_page_; }

 protected:
  BOOL OnInitDialog() override;
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void ShowTab(int tab);
  void Layout(int width, int height);
  void ShowAttributeMenu(const NMHDR* header);

  corvane::CRegisteredObject& record_;
  CRegistryPage registry_page_;
  CDependencyPage dependency_page_;
  CMaskedImageList images_;
  CListCtrl attributes_;
  CTabCtrl tabs_;
};
