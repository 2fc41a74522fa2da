// A type library written out as IDL: one member's signature, one type's declaration, and the
// whole library as text that an IDL compiler accepts again.
#pragma once
#include <string>

#include "catalogue/type_library.h"

namespace corvane {

// A member as one line without its ";": "[id(0x00000001), propget] HRESULT Name([out, retval]
// BSTR* value)", "long x", "fbNone = 0".
std::string MemberSignature(const TypeLibType& owner, const TypeLibMember& member);
// A type as a tree shows it: "interface IFoo : IDispatch (dual, oleautomation)".
std::string TypeHeading(const TypeLibType& type);
// A type's whole declaration, ending in a line break.
std::string TypeIdl(const TypeLibType& type);
// The library's attribute line and name, and the whole library as compilable IDL.
std::string LibraryHeading(const TypeLibrary& library);
std::string LibraryIdl(const TypeLibrary& library);

}  // namespace corvane
