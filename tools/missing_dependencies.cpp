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
  CachedLookup(Files& files, Modules& modules) : system_(files, modules) {}

  bool ReadImports(const std::string& path, ImportTable* table) override {
    auto it = imports_.find(ToUpper(path));
    if (it == imports_.end()) {
      Imports read;
      read.readable = system_.ReadImports(path, &read.table);
      it = imports_.emplace(ToUpper(path), std::move(read)).first;
    }
    if (!it->second.readable) return false;
    *table = it->second.table;
    return true;
  }

  std::string FindDll(const std::string& folder, const std::string& name,
                      bool pe32_plus) override {
    return Remembered(ToUpper(folder) + (pe32_plus ? "|64|" : "|32|") + ToUpper(name),
                      [&] { return system_.FindDll(folder, name, pe32_plus); });
  }

  const ApiSetSchema& Schema() override { return system_.Schema(); }

  std::string FindInAssembly(const std::string& importer, const std::string& name) override {
    return Remembered("<" + ToUpper(importer) + "|" + ToUpper(name),
                      [&] { return system_.FindInAssembly(importer, name); });
  }

  std::string FindWithLoader(const std::string& name) override {
    return Remembered("?" + ToUpper(name), [&] { return system_.FindWithLoader(name); });
  }

 private:
  struct Imports {
    bool readable = false;
    ImportTable table;
  };

  // The answer under key, asked of the system the first time only. "<" and "?" never start
  // a folder, so the keys of the three questions can't meet.
  template <typename Ask>
  std::string Remembered(const std::string& key, Ask ask) {
    auto it = found_.find(key);
    if (it == found_.end()) it = found_.emplace(key, ask()).first;
    return it->second;
  }

  SystemDependencyLookup system_;
  std::unordered_map<std::string, Imports> imports_;
  std::unordered_map<std::string, std::string> found_;
};

MissingDependencySearch::MissingDependencySearch(Files& files, Modules& modules)
    : lookup_(std::make_unique<CachedLookup>(files, modules)) {}

MissingDependencySearch::~MissingDependencySearch() = default;

const std::vector<std::string>& MissingDependencySearch::MissingOf(const std::string& path) {
  const std::string key = ToUpper(path);
  auto it = missing_.find(key);
  if (it != missing_.end()) return it->second;
  std::vector<std::string> missing;
  std::unordered_set<std::string> known;
  std::vector<Dependency> entries;
  WalkDependencies(*lookup_, path, known, &entries);
  for (const Dependency& entry : entries)
    if (!entry.found() && !entry.delay) missing.push_back(entry.name);
  return missing_.emplace(key, std::move(missing)).first->second;
}

bool MissingDependencySearch::IsMissingDependency(const CRegisteredObject& record) {
  return record.exists() == 1 && !MissingOf(record.GetFilePath()).empty();
}

}  // namespace corvane
