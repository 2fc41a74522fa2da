#include "tools/missing_dependencies.h"

#include <unordered_set>

#include "platform/text.h"

namespace corvane {

// A DLL's closure can't be reused as a whole: the first importer of a name decides where it
// is found, so the same DLL can pull in different names below different servers. What each
// file imports and where each name is found from each folder are facts of the file system,
// and those are what is kept; the walk itself then runs in memory.
class MissingDependencySearch::CachedLookup : public DependencyLookup {
 public:
  explicit CachedLookup(Files& files) : files_(files) {}

  bool ReadImports(const std::string& path, std::vector<std::string>* names) override {
    auto it = imports_.find(ToUpper(path));
    if (it == imports_.end()) {
      Imports read;
      read.readable = files_.ReadImports(path, &read.names);
      it = imports_.emplace(ToUpper(path), std::move(read)).first;
    }
    if (!it->second.readable) return false;
    names->insert(names->end(), it->second.names.begin(), it->second.names.end());
    return true;
  }

  std::string FindDll(const std::string& folder, const std::string& name) override {
    const std::string key = ToUpper(folder) + '|' + ToUpper(name);
    auto it = found_.find(key);
    if (it == found_.end()) it = found_.emplace(key, files_.FindDll(folder, name)).first;
    return it->second;
  }

 private:
  struct Imports {
    bool readable = false;
    std::vector<std::string> names;
  };

  FilesDependencyLookup files_;
  std::unordered_map<std::string, Imports> imports_;
  std::unordered_map<std::string, std::string> found_;
};

MissingDependencySearch::MissingDependencySearch(Files& files)
    : lookup_(std::make_unique<CachedLookup>(files)) {}

MissingDependencySearch::~MissingDependencySearch() = default;

const std::vector<std::string>& MissingDependencySearch::MissingOf(const std::string& path) {
  const std::string key = ToUpper(path);
  auto it = missing_.find(key);
  if (it != missing_.end()) return it->second;
  std::vector<std::string> missing;
  std::unordered_set<std::string> known;
  WalkDependencies(*lookup_, path, known,
                   [&missing](const std::string& name, const std::string& found) {
                     if (found.empty()) missing.push_back(name);
                   });
  return missing_.emplace(key, std::move(missing)).first->second;
}

bool MissingDependencySearch::IsMissingDependency(const CRegisteredObject& record) {
  return record.exists() == 1 && !MissingOf(record.GetFilePath()).empty();
}

}  // namespace corvane
