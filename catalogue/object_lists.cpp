#include "catalogue/object_lists.h"

#include "platform/text.h"

namespace corvane {

const char* CategoryName(int category) {
  switch (category) {
    case kControls: return "Controls";
    case kDllServers: return "DLL Servers";
    case kExeServers: return "EXE Servers";
    default: return "";
  }
}

void CObjectLists::Clear() {
  for (auto& records : lists_) records.clear();
}

CObjectLists::Records* CObjectLists::GetCurrent() {
  if (current_ < 0 || current_ >= kCategoryCount) return nullptr;
  return &lists_[current_];
}

std::unique_ptr<CRegisteredObject> CObjectLists::RemoveFromCurrent(
    const CRegisteredObject* record) {
  Records* records = GetCurrent();
  if (records == nullptr) return nullptr;
  for (auto it = records->begin(); it != records->end(); ++it) {
    if (it->get() == record) {
      std::unique_ptr<CRegisteredObject> taken = std::move(*it);
      records->erase(it);
      return taken;
    }
  }
  return nullptr;
}

void CObjectLists::ForgetNames(const std::string& clsid) {
  for (auto& records : lists_) {
    for (auto& record : records) {
      if (EqualsNoCase(record->clsid(), clsid)) record->ForgetNames();
    }
  }
}

}  // namespace corvane
