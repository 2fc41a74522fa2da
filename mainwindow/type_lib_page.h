// The Type Library page: the library a record's class names, as a tree of its types and
// members, the IDL text of the selected item with a copy command, and the check of the
// library's registration in a sentence above them. A child dialog of the details tabs.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "catalogue/registered_object.h"
#include "catalogue/type_library_tree.h"
#include "framework/dialog.h"
#include "framework/tree_ctrl.h"

class CTypeLibPage : public CDialog {
 public:
  CTypeLibPage();
  ~CTypeLibPage() override;

  // Remembers what the record names; the library is read when the page is next shown.
  void Show(const corvane::CRegisteredObject& record);
  // Forgets the record and empties the page.
  void Clear();
  // Reads and shows the remembered library when that has not been done yet.
  void LoadIfStale();
  // Puts the shown IDL text on the clipboard.
  void CopyIdl();

  CTreeCtrl& tree() { return tree_; }
  std::string status_text() const;
  const std::string& idl_text() const { return shown_idl_; }

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override {}
  void OnCancel() override {}
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void Empty();
  HTREEITEM Insert(const corvane::TypeLibNode& node, HTREEITEM parent, HTREEITEM* selected);
  void ShowIdl(HTREEITEM item);
  void Layout(int width, int height);

  CTreeCtrl tree_;
  HFONT fixed_font_ = nullptr;
  std::string clsid_, type_lib_, version_;
  bool stale_ = false;
  std::vector<std::string> idl_;  // each tree item's text; its item data is the index
  std::string shown_idl_;
};
