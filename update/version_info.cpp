#include "update/version_info.h"

#include <windows.h>

CVersionInfo::CVersionInfo(const std::string& path) : path_(path) {
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeA(path_.c_str(), &handle);
  if (size == 0) return;
  resource_.resize(size);
  if (!GetFileVersionInfoA(path_.c_str(), 0, size, resource_.data())) resource_.clear();
}

bool CVersionInfo::GetFixedVersion(corvane::CVersionNumber* version) const {
  if (resource_.empty()) return false;
  void* block = nullptr;
  UINT length = 0;
  // VerQueryValueA does not write through the block; the cast only meets its signature.
  if (!VerQueryValueA(const_cast<unsigned char*>(resource_.data()), "\\", &block, &length) ||
      block == nullptr || length < sizeof(VS_FIXEDFILEINFO)) {
    return false;
  }
  const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(block);
  *version = corvane::CVersionNumber::FromFixed(fixed->dwFileVersionMS, fixed->dwFileVersionLS);
  return true;
}
