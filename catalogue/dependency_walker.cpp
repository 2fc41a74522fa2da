#include "catalogue/dependency_walker.h"

#include <exception>
#include <unordered_map>
#include <utility>

#include "catalogue/registry_access.h"
#include "platform/text.h"

namespace corvane {

namespace {

// One file of the walk: its import names and how far they have been taken.
struct Level {
  std::vector<std::string> names;  // the ordinary imports, then the delay-loaded ones
  std::size_t delay_from = 0;      // where the delay-loaded names start
  std::size_t next = 0;
  std::string path;
  std::string folder;  // with its closing separator; empty for a bare file name
  bool pe32_plus = false;
  bool delay = false;    // the file itself is reached only through delay-loaded imports
  bool revisit = false;  // walked before: only lifts delay marks below it
};

std::string FolderOf(const std::string& path) {
  const std::size_t separator = path.find_last_of("\\/");
  return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
}

Level MakeLevel(const std::string& path, ImportTable table, bool delay) {
  Level level;
  level.names = std::move(table.names);
  level.delay_from = level.names.size();
  level.names.insert(level.names.end(), table.delay_names.begin(), table.delay_names.end());
  level.path = path;
  level.folder = FolderOf(path);
  level.pe32_plus = table.pe32_plus;
  level.delay = delay;
  return level;
}

// Where the loader finds name for the importer: a contract through the schema before any
// file; else the importer's folder, the search order, its assembly, the loader.
Dependency Locate(DependencyLookup& lookup, const Level& importer, const std::string& name) {
  Dependency found{name, "", FoundBy::kNotFound, false};
  const ApiSetSchema* schema =
      ApiSetSchema::IsContractName(name) ? &lookup.Schema() : nullptr;
  if (schema != nullptr && schema->readable()) {
    std::string host;
    const std::string importer_name = importer.path.substr(importer.folder.size());
    switch (schema->Resolve(name, importer_name, &host)) {
      case ApiSetSchema::Answer::kUnknown:
        return found;
      case ApiSetSchema::Answer::kNoHost:
        found.by = FoundBy::kApiSetNoHost;
        return found;
      case ApiSetSchema::Answer::kHost:
        found.path = lookup.FindDll("", host, importer.pe32_plus);
        if (found.path.empty()) found.path = lookup.FindWithLoader(host);
        if (found.path.empty()) return found;
        found.by = FoundBy::kApiSet;
        return found;
    }
  }
  found.path = lookup.FindDll(importer.folder, name, importer.pe32_plus);
  if (!found.path.empty()) {
    const bool beside = !importer.folder.empty() && found.path == importer.folder + name;
    found.by = beside ? FoundBy::kFolder : FoundBy::kSearchPath;
  } else if (!(found.path = lookup.FindInAssembly(importer.path, name)).empty()) {
    found.by = FoundBy::kAssembly;
  } else if (!(found.path = lookup.FindWithLoader(name)).empty()) {
    found.by = FoundBy::kLoader;
  }
  return found;
}

}  // namespace

SystemDependencyLookup::SystemDependencyLookup(Files& files, Modules& modules)
    : files_(files), modules_(modules) {}

SystemDependencyLookup::~SystemDependencyLookup() = default;

// The names are copied out, so the file is released at once rather than held for the
// whole walk below it. A file whose reading fails in any way, running out of memory
// included, is one that can't be read: the walk of the others goes on.
bool SystemDependencyLookup::ReadImports(const std::string& path, ImportTable* table) {
  try {
    std::unique_ptr<FileView> view = files_.MapFile(path.c_str());
    if (view != nullptr && ReadImportTable(view->data(), view->size(), table)) return true;
  } catch (const std::exception&) {
  }
  *table = ImportTable();
  return false;
}

// The folder ends in its separator; a bare name has none of its own. An importer of the
// other bitness than this process finds system DLLs in its own system folder.
std::string SystemDependencyLookup::FindDll(const std::string& folder, const std::string& name,
                                            bool pe32_plus) {
  FoundFile found;
  if (!folder.empty()) {
    const std::string candidate = folder + name;
    if (candidate.size() < kPathBufferSize && files_.FindFile(candidate.c_str(), &found))
      return candidate;
  }
  const std::string system = files_.SystemFolderFor(pe32_plus);
  if (!system.empty()) {
    const std::string candidate = system + "\\" + name;
    if (candidate.size() < kPathBufferSize && files_.FindFile(candidate.c_str(), &found))
      return candidate;
  }
  return files_.FindOnSearchPath(name.c_str());
}

const ApiSetSchema& SystemDependencyLookup::Schema() {
  if (!schema_) schema_ = std::make_unique<ApiSetSchema>(modules_.ApiSetSchema());
  return *schema_;
}

std::string SystemDependencyLookup::FindInAssembly(const std::string& importer,
                                                   const std::string& name) {
  return modules_.FindInAssembly(importer.c_str(), name.c_str());
}

std::string SystemDependencyLookup::FindWithLoader(const std::string& name) {
  return modules_.FindWithLoader(name.c_str());
}

bool WalkDependencies(DependencyLookup& lookup, const std::string& path,
                      std::unordered_set<std::string>& known, std::vector<Dependency>* entries) {
  // Entries of this walk by upper-cased name, so that a DLL first met below a delay-loaded
  // import loses its delay mark when a file that loads at once needs it too.
  std::unordered_map<std::string, std::size_t> listed;
  // An explicit stack keeps the depth-first order without deep native recursion.
  std::vector<Level> stack;
  ImportTable table;
  if (!lookup.ReadImports(path, &table)) return false;
  stack.push_back(MakeLevel(path, std::move(table), false));
  while (!stack.empty()) {
    Level& level = stack.back();
    if (level.next == level.names.size()) {
      stack.pop_back();
      continue;
    }
    const bool delay = level.delay || level.next >= level.delay_from;
    const std::string name = level.names[level.next++];
    const std::string key = ToUpper(name);
    if (known.count(key) != 0) {
      // Below a delay-loaded import every file is delay-loaded too, so a DLL that lost its
      // mark here has been walked whole: going over its names again lifts theirs.
      auto it = listed.find(key);
      if (delay || it == listed.end() || !(*entries)[it->second].delay) continue;
      Dependency& entry = (*entries)[it->second];
      entry.delay = false;
      ImportTable again;
      if (entry.found() && lookup.ReadImports(entry.path, &again)) {
        stack.push_back(MakeLevel(entry.path, std::move(again), false));
        stack.back().revisit = true;
      }
      continue;
    }
    if (level.revisit) continue;
    known.insert(key);
    Dependency entry = Locate(lookup, level, name);
    entry.delay = delay;
    ImportTable below;
    bool walk = entry.found() && lookup.ReadImports(entry.path, &below);
    // A file the loader would map for an importer of the other bitness is refused.
    if (walk && below.pe32_plus != level.pe32_plus) {
      entry.by = FoundBy::kWrongBitness;
      walk = false;
    }
    listed.emplace(key, entries->size());
    entries->push_back(entry);
    if (walk) stack.push_back(MakeLevel(entry.path, std::move(below), delay));
  }
  return true;
}

int GetFileDependencies(const Platform& platform, const std::string& path,
                        std::vector<std::unique_ptr<CFileObject>>& list) {
  std::unordered_set<std::string> known;
  for (const auto& entry : list) known.insert(ToUpper(entry->module_name()));
  SystemDependencyLookup lookup(platform.files, platform.modules);
  std::vector<Dependency> entries;
  if (!WalkDependencies(lookup, path, known, &entries)) return 0;
  for (const Dependency& dependency : entries) {
    auto entry = std::make_unique<CFileObject>(platform);
    entry->SetDependency(dependency);
    list.push_back(std::move(entry));
  }
  return 1;
}

}  // namespace corvane
