// A tree control whose top-level items are the dependency entries of a file. The tree owns
// the entries: they live until the tree is cleared or the object goes.
#pragma once
#include <memory>
#include <vector>

#include "catalogue/file_object.h"
#include "catalogue/record_sinks.h"
#include "framework/tree_ctrl.h"

class CDependencyTreeCtrl : public CTreeCtrl, public corvane::DependencyTree {
 public:
  CDependencyTreeCtrl() = default;
  ~CDependencyTreeCtrl() override;

  void InsertEntry(std::unique_ptr<corvane::CFileObject> entry, int image) override;
  // The entry an item carries; null for no item, an item without one, or data the tree does
  // not own.
  corvane::CFileObject* GetEntry(HTREEITEM item) const;
  // Deletes every item, then every entry.
  void Clear();
  size_t entry_count() const { return entries_.size(); }

 private:
  std::vector<std::unique_ptr<corvane::CFileObject>> entries_;
};
