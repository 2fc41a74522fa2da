// The fixture control's IDL source read back as the oracle of its type library: each
// declared type with its members, each written as one line without its ";" or ",".
#pragma once
#include <string>
#include <vector>

#include "catalogue/type_library_tree.h"

namespace corvane {

struct IdlType {
  std::string heading;  // how the tree names it: "interface IFixtureControl", "typedef long X"
  std::vector<std::string> members;
};

// The types of the fixture's IDL file, in the file's order.
std::vector<IdlType> ReadFixtureIdl();

// The node below root whose text starts with heading (then a blank or its end); null if none.
const TypeLibNode* FindTypeNode(const TypeLibNode& root, const std::string& heading);
// A node's children's texts without the default marks.
std::vector<std::string> MemberTexts(const TypeLibNode& node);

}  // namespace corvane
