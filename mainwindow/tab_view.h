// The details tabs at the bottom right: the Dependencies, Registry Entries and Type Library
// pages.
#pragma once
#include "framework/form_view.h"
#include "framework/tab_ctrl.h"
#include "mainwindow/dependency_page.h"
#include "mainwindow/registry_page.h"
#include "mainwindow/type_lib_page.h"

class CTabView : public CFormView {
 public:
  CTabView();
  void OnInitialUpdate() override;

  CRegistryPage& registry_page() { return registry_page_; }
  CDependencyPage& dependency_page() { return dependency_page_; }
  CTypeLibPage& typelib_page() { return typelib_page_; }
  CTabCtrl& tabs() { return tabs_; }
  // Shows the page of the selected tab and hides the others.
  void ShowSelectedPage();

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void Layout(int width, int height);

  CRegistryPage registry_page_;
  CDependencyPage dependency_page_;
  CTypeLibPage typelib_page_;
  CTabCtrl tabs_;
};
