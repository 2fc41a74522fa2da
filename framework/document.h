// A document: the data side of document and view. Knows its views.
#pragma once
#include <algorithm>
#include <string>
#include <vector>

class CView;

class CDocument {
 public:
  virtual ~CDocument() = default;

  // Prepares a new, empty document; false makes the new-document operation fail.
  virtual bool OnNewDocument() { return true; }

  const std::string& title() const { return title_; }
  void set_title(const std::string& title) { title_ = title; }

  void AddView(CView* view) { views_.push_back(view); }
  void RemoveView(CView* view) { views_.erase(std::remove(views_.begin(), views_.end(), view), views_.end()); }
  const std::vector<CView*>& views() const { return views_; }

 private:
  std::string title_;
  std::vector<CView*> views_;
};
