// A type library as the tree the Type Library page and the console tool show: the library,
// then its types by kind, each with its members, and the IDL text of every item.
#pragma once
#include <string>
#include <vector>

#include "catalogue/type_library.h"

namespace corvane {

struct TypeLibNode {
  std::string text;  // the item's line
  std::string idl;   // what selecting it shows
  bool selected = false;
  std::vector<TypeLibNode> children;
};

// Coclasses first (the one whose GUID is clsid leads and is selected), then interfaces,
// dispinterfaces, enums, records, unions, aliases and modules, each kind in the library's
// order. The coclass's default interface and default source interface are marked.
TypeLibNode BuildTypeLibTree(const TypeLibrary& library, const std::string& clsid);

// The tree as lines, two blanks of indent a level.
std::string TreeText(const TypeLibNode& root);

}  // namespace corvane
