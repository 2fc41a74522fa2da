#include "platform/win32/win32_files.h"

#include <windows.h>

#include <cstring>

namespace corvane {

namespace {

std::uint64_t Ticks(const FILETIME& time) {
  return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

}  // namespace

bool Win32Files::FindFile(const char* path, FoundFile* found) {
  // A wildcard would make the find report some other file as this one.
  const char* name = std::strncmp(path, "\\\\?\\", 4) == 0 ? path + 4 : path;
  if (std::strpbrk(name, "*?") != nullptr) return false;
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA(path, &data);
  if (find == INVALID_HANDLE_VALUE) return false;
  FindClose(find);
  data.cFileName[MAX_PATH - 1] = '\0';
  data.cAlternateFileName[13] = '\0';
  found->long_name = data.cFileName;
  found->short_name = data.cAlternateFileName;
  found->size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  found->is_directory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  found->creation_time = Ticks(data.ftCreationTime);
  found->last_write_time = Ticks(data.ftLastWriteTime);
  found->last_access_time = Ticks(data.ftLastAccessTime);
  return true;
}

std::uint32_t Win32Files::ExpandEnvironment(const char* source, char* out,
                                                   std::uint32_t size) {
  return ExpandEnvironmentStringsA(source, out, size);
}

}  // namespace corvane
