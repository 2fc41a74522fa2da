// What a type library declares, as read from it: the library, its types and their members,
// with each type already spelt as IDL text. Reading it is the type library seam's work.
#pragma once
#include <string>
#include <vector>

namespace corvane {

enum class TypeKind { kCoclass, kInterface, kDispinterface, kEnum, kRecord, kUnion, kAlias, kModule };

enum class MemberKind {
  kMethod, kPropGet, kPropPut, kPropPutRef,
  kProperty,  // a dispinterface's property
  kConstant,  // an enum's value or a module's constant
  kField,     // a record's or union's field
};

struct TypeLibParam {
  std::string name;
  std::string type;    // IDL spelling, e.g. "BSTR*"
  std::string suffix;  // array bounds after the name, e.g. "[4]"
  bool in = false, out = false, lcid = false, retval = false, optional = false;
  bool has_default = false;
  std::string default_value;  // an IDL literal
};

struct TypeLibMember {
  MemberKind kind = MemberKind::kMethod;
  std::string name;
  std::string type;    // return type, or the property's, field's or constant's type
  std::string suffix;  // a field's array bounds
  std::vector<TypeLibParam> params;
  long id = 0;
  bool show_id = false;
  bool vararg = false;
  std::vector<std::string> flags;  // "hidden", "restricted", "source", ...
  std::string help;
  std::string value;  // a constant's value, as an IDL literal
  std::string entry;  // a module function's entry point
};

// One interface a coclass implements.
struct TypeLibImpl {
  std::string name;
  bool dispinterface = false;
  bool is_default = false, source = false, restricted = false, default_vtable = false;
};

struct TypeLibType {
  TypeKind kind = TypeKind::kInterface;
  std::string name;
  std::string guid;  // with braces; empty when the type has none
  std::string help;
  int major = 0, minor = 0;
  std::vector<std::string> flags;  // "dual", "oleautomation", "hidden", "control", ...
  std::string base;                // an interface's base
  std::string alias_of;            // an alias's type
  std::string dll;                 // a module's DLL
  // The library's own enums, records, unions and aliases this type uses: they must be
  // declared before it.
  std::vector<std::string> uses;
  std::vector<TypeLibMember> members;
  std::vector<TypeLibImpl> impls;
};

struct TypeLibrary {
  std::string name;
  std::string guid;
  std::string help;
  std::string file;
  int major = 0, minor = 0;
  unsigned long lcid = 0;
  std::vector<std::string> flags;     // "control", "hidden", "restricted"
  std::vector<std::string> imports;   // file names of the other libraries it refers to
  std::vector<TypeLibType> types;     // in the library's order
};

// Why a library that loaded can't be trusted: an alias that leads back to itself, through
// any number of other aliases. Empty when nothing is wrong.
std::string FindDamage(const TypeLibrary& library);

// The kind's IDL keyword: "coclass", "interface", "typedef enum" ...
const char* TypeKindWord(TypeKind kind);

}  // namespace corvane
