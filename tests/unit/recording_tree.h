// A KeyTree that keeps its items, to read back shapes and paths.
#pragma once
#include <string>
#include <vector>

#include "catalogue/record_sinks.h"

namespace corvane {

class RecordingTree : public KeyTree {
 public:
  struct Item {
    TreeItem parent;
    std::string text;
  };

  TreeItem InsertItem(TreeItem parent, const std::string& text) override {
    items.push_back({parent, text});
    return items.size();  // item n is items[n - 1]; 0 stays the root
  }
  void Expand(TreeItem item) override { expanded.push_back(item); }

  // The item's texts from the top down, joined with backslashes.
  std::string Path(TreeItem item) const {
    std::string path;
    for (; item != kTreeRoot; item = items[item - 1].parent)
      path = items[item - 1].text + (path.empty() ? "" : "\\" + path);
    return path;
  }
  // Every item's path, in insertion order.
  std::vector<std::string> Paths() const {
    std::vector<std::string> paths;
    for (TreeItem item = 1; item <= items.size(); ++item) paths.push_back(Path(item));
    return paths;
  }
  // The texts of the children of parent, in order.
  std::vector<std::string> Children(TreeItem parent) const {
    std::vector<std::string> texts;
    for (const auto& item : items)
      if (item.parent == parent) texts.push_back(item.text);
    return texts;
  }

  std::vector<Item> items;
  std::vector<TreeItem> expanded;
};

}  // namespace corvane
