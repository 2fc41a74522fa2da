#include "catalogue/file_object.h"

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

void CFileObject::ExpandPath() {
  if (file_path_.find('%') == std::string::npos) return;
  char expanded[kPathBufferSize] = {};
  std::uint32_t needed = platform_.files.ExpandEnvironment(
      file_path_.c_str(), expanded, kPathBufferSize - 1);
  if (needed == 0 || needed > kPathBufferSize - 1) return;
  expanded[kPathBufferSize - 1] = '\0';
  file_path_ = expanded;
}

int CFileObject::CheckFileExists() const {
  std::string path = GetFilePath();
  FoundFile found;
  if (platform_.files.FindFile(path.c_str(), &found)) return 1;
  for (std::size_t blank = path.rfind(' '); blank != std::string::npos;
       blank = path.rfind(' ')) {
    path.erase(blank);
    if (platform_.files.FindFile(path.c_str(), &found)) return 1;
  }
  return path.find('\\') == std::string::npos ? 1 : 0;
}

}  // namespace corvane
