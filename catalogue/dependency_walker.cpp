#include "catalogue/dependency_walker.h"

#include <exception>
#include <unordered_set>
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

// The names are copied out, so the file is released at once rather than held for the
// whole walk below it. A file whose reading fails in any way, running out of memory
// included, is one that can't be read: the walk of the others goes on.
bool ReadLevel(Files& files, const std::string& path, Level* level) {
  try {
    std::unique_ptr<FileView> view = files.MapFile(path.c_str());
    if (view == nullptr || !ReadImportNames(view->data(), view->size(), &level->names)) {
      return false;
    }
  } catch (const std::exception&) {
    level->names.clear();
    return false;
  }
  level->folder = FolderOf(path);
  return true;
}

std::string FindDll(Files& files, const std::string& folder, const std::string& name) {
  if (!folder.empty()) {
    const std::string candidate = folder + name;
    FoundFile found;
    if (candidate.size() < kPathBufferSize && files.FindFile(candidate.c_str(), &found)) {
      return candidate;
    }
  }
  return files.FindOnSearchPath(name.c_str());
}

}  // namespace

int GetFileDependencies(const Platform& platform, const std::string& path,
                        std::vector<std::unique_ptr<CFileObject>>& list) {
  // An explicit stack keeps the depth-first order without deep native recursion.
  std::vector<Level> stack(1);
  if (!ReadLevel(platform.files, path, &stack.back())) return 0;
  std::unordered_set<std::string> known;
  for (const auto& entry : list) known.insert(ToUpper(entry->module_name()));

  while (!stack.empty()) {
    Level& level = stack.back();
    if (level.next == level.names.size()) {
      stack.pop_back();
      continue;
    }
    const std::string name = level.names[level.next++];
    if (!known.insert(ToUpper(name)).second) continue;
    const std::string found = FindDll(platform.files, level.folder, name);
    auto entry = std::make_unique<CFileObject>(platform);
    entry->SetServer(name, found);
    list.push_back(std::move(entry));
    Level below;
    if (!found.empty() && ReadLevel(platform.files, found, &below)) {
      stack.push_back(std::move(below));
    }
  }
  return 1;
}

}  // namespace corvane
