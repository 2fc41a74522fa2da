#include "catalogue/file_object.h"

#include <algorithm>

#include "catalogue/dependency_walker.h"
#include "catalogue/find_cache.h"
#include "catalogue/registry_access.h"

namespace corvane {

CFileObject::CFileObject(const Platform& platform) : platform_(platform) {}

CFileObject::~CFileObject() = default;

std::string CFileObject::GetFilePath() const { return file_path_; }

void CFileObject::SetServer(const std::string& module_name, const std::string& path) {
  module_name_ = module_name;
  file_path_ = path;
  ExpandPath();
  exists_ = file_path_.empty() ? 0 : 1;
}

void CFileObject::SetDependency(const Dependency& dependency) {
  SetServer(dependency.name, dependency.path);
  found_by_ = dependency.by;
  delay_loaded_ = dependency.delay;
  is_dependency_ = true;
  if (!dependency.found()) exists_ = 0;
}

void CFileObject::ExpandPath() {
  if (file_path_.find('%') == std::string::npos) return;
  char expanded[kPathBufferSize] = {};
  std::uint32_t needed = platform_.files.ExpandEnvironment(
      file_path_.c_str(), expanded, kPathBufferSize - 1);
  if (needed == 0 || needed > kPathBufferSize - 1) return;
  expanded[kPathBufferSize - 1] = '\0';
  file_path_ = expanded;
}

int CFileObject::CheckFileExists(CFindCache* finds, bool cut_at_blanks) const {
  // The path, then the texts before each of its blanks from the last one on: any of them
  // found means present. A server path with arguments usually names its file in the text
  // that ends in an extension, so that one is asked first; the answer is the same.
  const std::string path = GetFilePath();
  std::vector<std::string> candidates{path};
  for (std::size_t blank = cut_at_blanks ? path.rfind(' ') : std::string::npos;
       blank != std::string::npos;
       blank = blank == 0 ? std::string::npos : path.rfind(' ', blank - 1))
    candidates.push_back(path.substr(0, blank));
  const bool bare_name = candidates.back().find('\\') == std::string::npos;
  std::stable_partition(candidates.begin(), candidates.end(), [](const std::string& text) {
    return text.size() > 4 && text[text.size() - 4] == '.';
  });
  for (const std::string& candidate : candidates) {
    if (finds != nullptr ? finds->Find(candidate) : FindFile(candidate)) return 1;
  }
  return bare_name ? 1 : 0;
}

bool CFileObject::FindFile(const std::string& path) const {
  FoundFile found;
  return platform_.files.FindFile(path.c_str(), &found);
}

}  // namespace corvane
