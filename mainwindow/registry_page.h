// The Registry Entries page: the registry keys of a record on the left, the values of the
// selected key on the right. String values are edited through the Edit Value dialog and
// written back below HKEY_CLASSES_ROOT; any value's data can be copied.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/dialog.h"
#include "framework/list_ctrl.h"
#include "framework/tree_ctrl.h"
#include "mainwindow/key_tree_ctrl.h"
#include "mainwindow/registry_values.h"

class CRegistryPage : public CDialog {
 public:
  CRegistryPage();
  ~CRegistryPage() override;

  // The tree a record's FillRegistryTree fills; clear the page first.
  corvane::KeyTree& key_tree() { return key_tree_; }
  // Empties the key tree and the values list.
  void Clear();
  // Lists the values of the item's key; the top item and no item leave the list empty.
  void ListValues(HTREEITEM item);
  // Edits the value of the row when it is a string value, then lists the key again.
  void EditValue(int row);
  // Called after each value written through Edit Value; Clear forgets it.
  void OnValueWritten(std::function<void()> handler) { value_written_ = std::move(handler); }
  // Puts the "Data" text of the first selected row on the clipboard.
  void CopySelectedValue();

  // The value a row shows, or null when there is no such row.
  const corvane::ListedValue* ValueAt(int row) const;
  // The key below HKEY_CLASSES_ROOT that was listed last.
  const std::string& key_path() const { return key_path_; }
  CTreeCtrl& tree() { return tree_; }
  CListCtrl& values() { return values_; }
  HIMAGELIST images() const { return images_; }

 protected:
  BOOL OnInitDialog() override;
  // Enter and Escape reach a child page through the dialog keys; the page never ends.
  void OnOK() override {}
  void OnCancel() override {}
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void BuildImageList();
  void Layout(int width, int height);
  void SizeColumns();
  bool OnNotify(const NMHDR* header);
  void ShowContextMenu(POINT client_point);
  std::string KeyPathOf(HTREEITEM item) const;

  HIMAGELIST images_ = nullptr;
  std::string key_path_;
  CTreeCtrl tree_;
  CListCtrl values_;
  CKeyTreeCtrl key_tree_{tree_};
  // The values of the listed key; each row's item data is its index here.
  std::vector<corvane::ListedValue> listed_;
  std::function<void()> value_written_;
};
