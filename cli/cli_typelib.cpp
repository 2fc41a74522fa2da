#include "cli/cli_typelib.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "catalogue/object_kinds.h"
#include "catalogue/registry_access.h"
#include "catalogue/type_library_check.h"
#include "catalogue/type_library_idl.h"
#include "catalogue/type_library_tree.h"

using namespace corvane;

namespace {

// The library of a registered class, by the same check the Type Library page makes.
bool ReadClassLibrary(const Platform& platform, const std::string& clsid, TypeLibrary* library) {
  if (!KeyOpens(platform.registry, kClassesRoot, JoinKeyPath({"CLSID", clsid}))) {
    std::fprintf(stderr, "corvane-cli: no class %s is registered\n", clsid.c_str());
    return false;
  }
  CDllServerObject record(platform, clsid.c_str());
  TypeLibCheck check = CheckTypeLibrary(platform, record.ReadClassValue("TypeLib"),
                                        record.ReadClassValue("Version"), true);
  if (check.state != TypeLibState::kOk) {
    std::fprintf(stderr, "corvane-cli: %s\n", TypeLibSentence(check).c_str());
    return false;
  }
  *library = std::move(check.library);
  return true;
}

bool ReadFileLibrary(const Platform& platform, const std::string& file, TypeLibrary* library) {
  const long result = platform.type_libraries->LoadFile(file, library);
  if (IsFailedResult(result)) {
    std::fprintf(stderr, "corvane-cli: %s does not load as a type library: %s\n", file.c_str(),
                 platform.type_libraries->DescribeResult(result).c_str());
    return false;
  }
  const std::string damage = FindDamage(*library);
  if (!damage.empty()) {
    std::fprintf(stderr, "corvane-cli: %s is damaged: %s\n", file.c_str(), damage.c_str());
    return false;
  }
  return true;
}

}  // namespace

int RunTypeLibCommand(const Platform& platform, int argc, char** argv) {
  if (argc < 3 || argc > 4 || argv[2][0] == '\0' || platform.type_libraries == nullptr) return 2;
  const bool idl = argc == 4;
  if (idl && std::strcmp(argv[3], "--idl") != 0) return 2;
  const std::string target = argv[2];
  const bool is_class = target.front() == '{';
  TypeLibrary library;
  if (!(is_class ? ReadClassLibrary(platform, target, &library)
                 : ReadFileLibrary(platform, target, &library)))
    return 1;
  const std::string text =
      idl ? LibraryIdl(library) : TreeText(BuildTypeLibTree(library, is_class ? target : ""));
  std::fwrite(text.data(), 1, text.size(), stdout);
  return std::fflush(stdout) == 0 ? 0 : 1;
}
