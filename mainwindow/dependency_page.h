// The Dependencies page: the DLLs a server file imports as a flat tree, and the attributes of
// the one selected. A child dialog of the details tabs and of the COM File Details dialog.
#pragma once
#include "catalogue/registered_object.h"
#include "framework/dialog.h"
#include "framework/list_ctrl.h"
#include "mainwindow/dependency_tree_ctrl.h"
#include "mainwindow/masked_image_list.h"

class CDependencyPage : public CDialog {
 public:
  CDependencyPage();
  ~CDependencyPage() override;

  // Adds the record's dependencies to the tree (after what it holds; Clear first to replace).
  void Fill(corvane::CRegisteredObject& record);
  // Empties the tree, deleting its entries, and the attribute list.
  void Clear();

  CDependencyTreeCtrl& tree() { return tree_; }
  CListCtrl& list() { return list_; }
  HIMAGELIST images() const { return images_.handle(); }

 protected:
  BOOL OnInitDialog() override;
  // Enter and Escape reach the page through the dialog keys; a page never ends.
  void OnOK() override {}
  void OnCancel() override {}
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void ShowEntryAttributes(HTREEITEM item);
  void Layout(int width, int height);

  CMaskedImageList images_;
  CDependencyTreeCtrl tree_;
  CListCtrl list_;
};
