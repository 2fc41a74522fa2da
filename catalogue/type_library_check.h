// Whether the type library a class names is registered and loads: the TypeLib key, a version
// key, a file value for this registry's platform, the file, and the loader's answer.
#pragma once
#include <string>

#include "catalogue/type_library.h"
#include "platform/platform.h"

namespace corvane {

enum class TypeLibState {
  kNotDefined,     // the class names no type library
  kOk,
  kNotRegistered,  // no TypeLib\{guid} key
  kNoVersion,      // the key has no version subkey
  kNoFile,         // the version has no file value for this platform
  kFileMissing,
  kDoesNotLoad,    // the loader refused the file
  kDamaged,        // it loaded, but what it declares can't be read whole
};

struct TypeLibCheck {
  TypeLibState state = TypeLibState::kNotDefined;
  std::string guid;       // the class's TypeLib value
  std::string version;    // the version key used
  std::string file;       // the registered file, expanded
  std::string platforms = "win32";  // the file values looked for, in the view's order
  long result = 0;        // the loader's HRESULT when it failed
  std::string detail;     // the failure in words
  TypeLibrary library;    // what was read, with read_all
};

// The check of the library named by type_lib (a class's TypeLib value) at class_version (its
// Version value; the highest registered when empty or not registered). read_all reads every
// type into the result; otherwise the file is only loaded.
TypeLibCheck CheckTypeLibrary(const Platform& platform, const std::string& type_lib,
                              const std::string& class_version, bool read_all);

// "OK", "Not Registered", ... : the attribute row and the report column.
const char* TypeLibStatusText(TypeLibState state);
// The check in a plain sentence.
std::string TypeLibSentence(const TypeLibCheck& check);
// A broken registration: named, but not OK.
inline bool IsBroken(TypeLibState state) {
  return state != TypeLibState::kNotDefined && state != TypeLibState::kOk;
}

}  // namespace corvane
