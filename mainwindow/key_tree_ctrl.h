// The registry key tree of the Registry Entries page, filled by a record's FillRegistryTree.
#pragma once
#include <string>

#include "catalogue/record_sinks.h"
#include "framework/tree_ctrl.h"

// Lets a record fill a tree control: items are appended last under their parent, with the
// closed-key image 0 and the selected-key image 1.
class CKeyTreeCtrl : public corvane::KeyTree {
 public:
  explicit CKeyTreeCtrl(CTreeCtrl& tree) : tree_(tree) {}

  corvane::TreeItem InsertItem(corvane::TreeItem parent, const std::string& text) override;
  void Expand(corvane::TreeItem item) override;

  static HTREEITEM ToHandle(corvane::TreeItem item);

 private:
  CTreeCtrl& tree_;
};
