#include "catalogue/type_lib_users.h"

#include <algorithm>

#include "catalogue/class_removal.h"
#include "platform/text.h"

namespace corvane {

void TypeLibUsers::ReadAll(Registry& registry) {
  read_ = true;
  RegKey classes = 0;
  if (registry.OpenKeyW(kClassesRoot, u"CLSID", kKeyRead, &classes) != kErrorSuccess) return;
  KeyCloser closer(registry, classes);
  std::u16string clsid;
  for (std::uint32_t index = 0; registry.EnumKeyW(classes, index, &clsid) == kErrorSuccess; ++index) {
    const std::u16string type_lib = ReadWideText(registry, classes, clsid + u"\\TypeLib");
    if (type_lib.empty()) continue;
    users_[Folded(type_lib)].push_back(Folded(clsid));
    type_lib_of_[Folded(clsid)] = Folded(type_lib);
  }
}

bool TypeLibUsers::UsedByOther(Registry& registry, const std::u16string& type_lib,
                               const std::u16string& clsid, std::u16string* other) {
  if (!read_) ReadAll(registry);
  auto found = users_.find(Folded(type_lib));
  if (found == users_.end()) return false;
  const std::u16string self = Folded(clsid);
  for (const std::u16string& user : found->second) {
    if (user != self) {
      *other = user;
      return true;
    }
  }
  return false;
}

void TypeLibUsers::Forget(const std::u16string& clsid) {
  auto found = type_lib_of_.find(Folded(clsid));
  if (found == type_lib_of_.end()) return;
  auto& list = users_[found->second];
  list.erase(std::remove(list.begin(), list.end(), found->first), list.end());
  type_lib_of_.erase(found);
}

}  // namespace corvane
