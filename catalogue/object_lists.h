// The catalogue: the records of the three categories, and the category shown.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "catalogue/registered_object.h"

namespace corvane {

enum Category { kControls = 0, kDllServers = 1, kExeServers = 2, kCategoryCount = 3 };

// "Controls", "DLL Servers", "EXE Servers"; empty for anything else.
const char* CategoryName(int category);

class CObjectLists {
 public:
  using Records = std::vector<std::unique_ptr<CRegisteredObject>>;

  CObjectLists() = default;
  ~CObjectLists() { Clear(); }
  CObjectLists(const CObjectLists&) = delete;
  CObjectLists& operator=(const CObjectLists&) = delete;

  // Deletes every record of the three categories.
  void Clear();
  // The records of the current category; null when the index is not 0, 1 or 2.
  Records* GetCurrent();
  // Takes a record out of the current category and hands it back (null when it is not there).
  std::unique_ptr<CRegisteredObject> RemoveFromCurrent(const CRegisteredObject* record);
  // The class's values changed: every record of that CLSID, in any category, reads its names
  // again when next asked.
  void ForgetNames(const std::string& clsid);

  Records& list(Category category) { return lists_[category]; }
  const Records& list(Category category) const { return lists_[category]; }
  int current() const { return current_; }
  void set_current(int category) { current_ = category; }

 private:
  Records lists_[kCategoryCount];
  int current_ = 0;
};

}  // namespace corvane
