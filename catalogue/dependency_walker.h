// The DLLs a PE file needs, directly or through other DLLs, found the way the loader finds
// them.
#pragma once
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "catalogue/api_set_schema.h"
#include "catalogue/file_object.h"
#include "catalogue/found_by.h"
#include "catalogue/pe_imports.h"
#include "platform/platform.h"

namespace corvane {

// Appends one entry per DLL name not yet in list (compared without regard to case), in
// depth-first order: each found DLL is followed by the new names it pulls in, a file's
// delay-loaded DLLs after its ordinary ones. Where the plain search (the importer's folder,
// the path up to its last \ or /, then the system's search order) finds nothing, the
// importer's side-by-side assembly and then the loader itself are asked; an "api-" or "ext-"
// name is a contract that the API set schema resolves before any file search. A file that
// can't be read contributes no entries of its own and the walk goes on. 1 when the file at
// path could be mapped and read as a PE file, else 0 and nothing is appended.
int GetFileDependencies(const Platform& platform, const std::string& path,
                        std::vector<std::unique_ptr<CFileObject>>& list);

// One DLL of a walk.
struct Dependency {
  std::string name;  // as its first importer spells it
  std::string path;  // where it was found; for a wrong bitness, the file that was refused
  FoundBy by = FoundBy::kNotFound;
  // Reached only through delay-loaded imports: the server loads without it.
  bool delay = false;
  bool found() const { return IsFound(by); }
};

// What the walk asks of the system; a search over many files answers from a cache.
class DependencyLookup {
 public:
  virtual ~DependencyLookup() = default;
  // The file's import tables; false when it can't be mapped or isn't PE.
  virtual bool ReadImports(const std::string& path, ImportTable* table) = 0;
  // folder (which ends in its separator) + name when that file exists, else the system's
  // search order for an importer of that bitness; empty when neither. An empty folder is
  // never looked in.
  virtual std::string FindDll(const std::string& folder, const std::string& name,
                              bool pe32_plus) = 0;
  // The loader's API set schema, read once.
  virtual const ApiSetSchema& Schema() = 0;
  virtual std::string FindInAssembly(const std::string& importer, const std::string& name) = 0;
  virtual std::string FindWithLoader(const std::string& name) = 0;
};

// Asks the files and modules seams every time, except for the schema, read once.
class SystemDependencyLookup : public DependencyLookup {
 public:
  SystemDependencyLookup(Files& files, Modules& modules);
  ~SystemDependencyLookup() override;
  bool ReadImports(const std::string& path, ImportTable* table) override;
  std::string FindDll(const std::string& folder, const std::string& name, bool pe32_plus) override;
  const ApiSetSchema& Schema() override;
  std::string FindInAssembly(const std::string& importer, const std::string& name) override;
  std::string FindWithLoader(const std::string& name) override;

 private:
  Files& files_;
  Modules& modules_;
  std::unique_ptr<ApiSetSchema> schema_;
};

// The walk behind GetFileDependencies: appends an entry for each name whose upper case is
// not in known yet (it is inserted), depth first. False when path can't be read.
bool WalkDependencies(DependencyLookup& lookup, const std::string& path,
                      std::unordered_set<std::string>& known, std::vector<Dependency>* entries);

}  // namespace corvane
