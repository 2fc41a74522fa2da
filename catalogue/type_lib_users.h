// Which registered classes name each type library, read once for a whole catalogue so that
// removing many classes does not walk every class again for each.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace corvane {

class TypeLibUsers {
 public:
  // Whether a class other than clsid names type_lib in its TypeLib key; *other is one such
  // class. Every class's TypeLib value is read on the first question.
  bool UsedByOther(Registry& registry, const std::u16string& type_lib, const std::u16string& clsid,
                   std::u16string* other);
  // The class is gone: it no longer keeps a type library.
  void Forget(const std::u16string& clsid);

 private:
  void ReadAll(Registry& registry);

  bool read_ = false;
  std::map<std::u16string, std::vector<std::u16string>> users_;  // folded names
  std::map<std::u16string, std::u16string> type_lib_of_;          // folded class -> library
};

}  // namespace corvane
