// The views a record fills: the Name/Value list of attributes, the registry key tree and the
// dependency tree. The GUI implements them over its controls; tests implement them in memory.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

namespace corvane {

class CFileObject;

// Rows of a Name/Value list view.
class AttributeRows {
 public:
  virtual ~AttributeRows() = default;
  // Appends a row: the label as the item text with the image, the value in column 1.
  virtual void AddAttributeRow(const std::string& label, const std::string& value, int image) = 0;
};

using TreeItem = std::uintptr_t;  // 0 is the root
constexpr TreeItem kTreeRoot = 0;

// A tree of registry keys: every item has image 0, selected image 1 and no item data.
class KeyTree {
 public:
  virtual ~KeyTree() = default;
  // Appends an item after the last child of parent.
  virtual TreeItem InsertItem(TreeItem parent, const std::string& text) = 0;
  virtual void Expand(TreeItem item) = 0;
};

// The flat list of a file's dependencies as top-level tree items.
class DependencyTree {
 public:
  virtual ~DependencyTree() = default;
  // Appends a top-level item with the entry's module name, image and selected image image,
  // and the entry as its data; the tree owns the entry from now on.
  virtual void InsertEntry(std::unique_ptr<CFileObject> entry, int image) = 0;
};

}  // namespace corvane
