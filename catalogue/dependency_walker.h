// The DLLs a PE file needs, directly or through other DLLs, found the way the loader looks
// for them.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "catalogue/file_object.h"
#include "platform/platform.h"

namespace corvane {

// Appends one entry per DLL name not yet in list (compared without regard to case), in
// depth-first order: each found DLL is followed by the new names it pulls in. An entry's path
// is where the DLL was found (the importer's folder, the path up to its last \ or /, first;
// then the system's search order), or empty. A file that can't be read, whatever the reason,
// contributes no entries of its own and the walk goes on. 1 when the file at path could be
// mapped and read as a PE file, else 0 and nothing is appended.
int GetFileDependencies(const Platform& platform, const std::string& path,
                        std::vector<std::unique_ptr<CFileObject>>& list);

// What the walk asks of the file system; a search over many files answers from a cache.
class DependencyLookup {
 public:
  virtual ~DependencyLookup() = default;
  // The file's import names in table order; false when it can't be mapped or isn't PE.
  virtual bool ReadImports(const std::string& path, std::vector<std::string>* names) = 0;
  // folder (which ends in its separator) + name when that file exists, else the system's
  // search order; empty when neither. An empty folder is never looked in.
  virtual std::string FindDll(const std::string& folder, const std::string& name) = 0;
};

// Reads and finds through the files seam, every time it is asked.
class FilesDependencyLookup : public DependencyLookup {
 public:
  explicit FilesDependencyLookup(Files& files) : files_(files) {}
  bool ReadImports(const std::string& path, std::vector<std::string>* names) override;
  std::string FindDll(const std::string& folder, const std::string& name) override;

 private:
  Files& files_;
};

// The walk behind GetFileDependencies: add(name, found path or "") for each name whose upper
// case is not in known yet (it is inserted), depth first. False when path can't be read.
bool WalkDependencies(DependencyLookup& lookup, const std::string& path,
                      std::unordered_set<std::string>& known,
                      const std::function<void(const std::string&, const std::string&)>& add);

}  // namespace corvane
