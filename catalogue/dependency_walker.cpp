#include "catalogue/dependency_walker.h"

#include <exception>
#include <utility>

#include "catalogue/pe_imports.h"
#include "catalogue/registry_access.h"
#include "platform/text.h"

namespace corvane {

namespace {

// One file of the walk: its import names and how far they have been taken.
struct Level {
  std::vector<std::string> names;
  std::size_t next = 0;
  std::string folder;  // with its closing separator; empty for a bare file name
};

std::string FolderOf(const std::string& path) {
  const std::size_t separator = path.find_last_of("\\/");
  return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
}

bool ReadLevel(DependencyLookup& lookup, const std::string& path, Level* level) {
  if (!lookup.ReadImports(path, &level->names)) return false;
  level->folder = FolderOf(path);
  return true;
}


}  // namespace

// The names are copied out, so the file is released at once rather than held for the
// whole walk below it. A file whose reading fails in any way, running out of memory
// included, is one that can't be read: the walk of the others goes on.
bool FilesDependencyLookup::ReadImports(const std::string& path,
                                        std::vector<std::string>* names) {
  try {
    std::unique_ptr<FileView> view = files_.MapFile(path.c_str());
    if (view != nullptr && ReadImportNames(view->data(), view->size(), names)) return true;
  } catch (const std::exception&) {
  }
  names->clear();
  return false;
}

// The folder ends in its separator; a bare name has none of its own.
std::string FilesDependencyLookup::FindDll(const std::string& folder, const std::string& name) {
  if (!folder.empty()) {
    const std::string candidate = folder + name;
    FoundFile found;
    if (candidate.size() < kPathBufferSize && files_.FindFile(candidate.c_str(), &found)) {
      return candidate;
    }
  }
  return files_.FindOnSearchPath(name.c_str());
}

bool WalkDependencies(DependencyLookup& lookup, const std::string& path,
                      std::unordered_set<std::string>& known,
                      const std::function<void(const std::string&, const std::string&)>& add) {
  // An explicit stack keeps the depth-first order without deep native recursion.
  std::vector<Level> stack(1);
  if (!ReadLevel(lookup, path, &stack.back())) return false;
  while (!stack.empty()) {
    Level& level = stack.back();
    if (level.next == level.names.size()) {
      stack.pop_back();
      continue;
    }
    const std::string name = level.names[level.next++];
    if (!known.insert(ToUpper(name)).second) continue;
    const std::string found = lookup.FindDll(level.folder, name);
    add(name, found);
    Level below;
    if (!found.empty() && ReadLevel(lookup, found, &below)) stack.push_back(std::move(below));
  }
  return true;
}

int GetFileDependencies(const Platform& platform, const std::string& path,
                        std::vector<std::unique_ptr<CFileObject>>& list) {
  std::unordered_set<std::string> known;
  for (const auto& entry : list) known.insert(ToUpper(entry->module_name()));
  FilesDependencyLookup lookup(platform.files);
  return WalkDependencies(lookup, path, known,
                          [&](const std::string& name, const std::string& found) {
                            auto entry = std::make_unique<CFileObject>(platform);
                            entry->SetServer(name, found);
                            list.push_back(std::move(entry));
                          })
             ? 1
             : 0;
}

}  // namespace corvane
