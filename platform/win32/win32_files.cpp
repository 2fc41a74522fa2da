#include "platform/win32/win32_files.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>

#include "platform/text.h"
#include "platform/win32/wow64_redirection.h"


namespace corvane {

namespace {

class MappedFileView : public FileView {
 public:
  MappedFileView(HANDLE file, HANDLE mapping, const void* view, std::size_t size)
      : file_(file), mapping_(mapping), view_(view), size_(size) {}
  ~MappedFileView() override {
    UnmapViewOfFile(view_);
    CloseHandle(mapping_);
    CloseHandle(file_);
  }
  const std::uint8_t* data() const override { return static_cast<const std::uint8_t*>(view_); }
  std::size_t size() const override { return size_; }

 private:
  HANDLE file_;
  HANDLE mapping_;
  const void* view_;
  std::size_t size_;
};

std::uint64_t Ticks(const FILETIME& time) {
  return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

FoundFile FoundOf(WIN32_FIND_DATAA& data) {
  data.cFileName[MAX_PATH - 1] = '\0';
  data.cAlternateFileName[13] = '\0';
  FoundFile found;
  found.long_name = data.cFileName;
  found.short_name = data.cAlternateFileName;
  found.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  found.is_directory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  found.creation_time = Ticks(data.ftCreationTime);
  found.last_write_time = Ticks(data.ftLastWriteTime);
  found.last_access_time = Ticks(data.ftLastAccessTime);
  return found;
}
// Redirection off for one call when a 32-bit build looks at the 64-bit view.
class ViewScope {
 public:
  explicit ViewScope(RegistryView view) {
    if (sizeof(void*) == 4 && view == RegistryView::k64) off_.emplace();
  }

 private:
  std::optional<Wow64RedirectionOff> off_;
};

#ifdef _WIN64
std::string SystemFolder(UINT (WINAPI* get)(LPSTR, UINT)) {
  char folder[MAX_PATH] = {};
  const UINT length = get(folder, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::string(folder, length) : std::string();
}
#endif

}  // namespace

std::string Win32Files::ForView(const char* path) const {
#ifdef _WIN64
  // Only System32 differs between the views' programs; a 64-bit process has no redirection
  // to turn on, so the 32-bit programs' folder is named.
  if (view() != RegistryView::k32) return path;
  static const std::string system = SystemFolder(GetSystemDirectoryA);
  static const std::string wow64 = SystemFolder(GetSystemWow64DirectoryA);
  const std::string text = path;
  if (system.empty() || wow64.empty() || text.size() <= system.size() ||
      text[system.size()] != '\\' || !EqualsNoCase(text.substr(0, system.size()), system))
    return text;
  return wow64 + text.substr(system.size());
#else
  // The 64-bit view's calls run with the redirection off, where the alias Sysnative (which
  // lookups for 64-bit importers name) no longer exists: it is the real System32 then.
  if (view() != RegistryView::k64 || !RunningUnderWow64()) return path;
  static const std::string windows = [] {
    char folder[MAX_PATH] = {};
    const UINT length = GetWindowsDirectoryA(folder, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::string(folder, length) : std::string();
  }();
  const std::string alias = windows + "\\Sysnative";
  const std::string text = path;
  if (windows.empty() || text.size() <= alias.size() || text[alias.size()] != '\\' ||
      !EqualsNoCase(text.substr(0, alias.size()), alias))
    return text;
  return windows + "\\System32" + text.substr(alias.size());
#endif
}

bool Win32Files::FindFile(const char* given_path, FoundFile* found) {
  const std::string viewed = ForView(given_path);
  const char* path = viewed.c_str();
  ViewScope scope(view());
  // A wildcard would make the find report some other file as this one.
  const char* name = std::strncmp(path, "\\\\?\\", 4) == 0 ? path + 4 : path;
  if (std::strpbrk(name, "*?") != nullptr) return false;
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA(path, &data);
  if (find == INVALID_HANDLE_VALUE) return false;
  FindClose(find);
  *found = FoundOf(data);
  return true;
}

std::vector<FoundFile> Win32Files::ListRegFiles(const char* folder) {
  std::vector<FoundFile> files;
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((std::string(folder) + "\\*.reg").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return files;
  do {
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) files.push_back(FoundOf(data));
  } while (FindNextFileA(find, &data));
  FindClose(find);
  return files;
}

bool Win32Files::EraseFile(const char* path) { return DeleteFileA(path) != FALSE; }

std::uint32_t Win32Files::ExpandEnvironment(const char* source, char* out,
                                                   std::uint32_t size) {
  return ExpandEnvironmentStringsA(source, out, size);
}

std::unique_ptr<FileView> Win32Files::MapFile(const char* path) {
  HANDLE file;
  {
    ViewScope scope(view());
    file = CreateFileA(ForView(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  }
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  LARGE_INTEGER size;
  // The view's length bounds every read, so a size that doesn't fit in memory is a failure.
  if (!GetFileSizeEx(file, &size) || size.QuadPart <= 0 ||
      static_cast<std::uint64_t>(size.QuadPart) > SIZE_MAX) {
    CloseHandle(file);
    return nullptr;
  }
  HANDLE mapping = CreateFileMappingA(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
  if (mapping == nullptr) {
    CloseHandle(file);
    return nullptr;
  }
  const void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0);
  if (view == nullptr) {
    CloseHandle(mapping);
    CloseHandle(file);
    return nullptr;
  }
  return std::make_unique<MappedFileView>(file, mapping, view,
                                          static_cast<std::size_t>(size.QuadPart));
}

std::string Win32Files::FindOnSearchPath(const char* name) {
  char found[MAX_PATH] = {};
  ViewScope scope(view());
  DWORD length = SearchPathA(nullptr, name, nullptr, MAX_PATH, found, nullptr);
  // A longer result is the size it would need: the path didn't fit and isn't there.
  if (length == 0 || length >= MAX_PATH) return std::string();
  return std::string(found, length);
}

std::string Win32Files::SystemFolderFor(bool pe32_plus) {
  const bool process64 = sizeof(void*) == 8;
  if (pe32_plus == process64) return std::string();
  char folder[MAX_PATH] = {};
  UINT length = 0;
  if (process64) {
    length = GetSystemWow64DirectoryA(folder, MAX_PATH);
  } else if (RunningUnderWow64()) {
    // The alias reaches the 64-bit System32 for every call, reads of the file included,
    // where turning the redirection off would last only for one scope.
    length = GetWindowsDirectoryA(folder, MAX_PATH);
    if (length > 0 && length + 11 < MAX_PATH) {
      std::strcat(folder, "\\Sysnative");
      length += 10;
    }
  }
  if (length == 0 || length >= MAX_PATH) return std::string();
  return std::string(folder, length);
}

bool Win32Files::ReadVersionBlock(const char* given_path, std::vector<std::uint8_t>* block) {
  const std::string viewed = ForView(given_path);
  const char* path = viewed.c_str();
  ViewScope scope(view());
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeA(path, &handle);
  if (size == 0) return false;
  block->assign(size + 1, 0);
  if (!GetFileVersionInfoA(path, 0, size, block->data())) {
    block->clear();
    return false;
  }
  return true;
}

bool Win32Files::QueryVersionTranslation(const std::vector<std::uint8_t>& block,
                                         std::uint32_t* translation) {
  void* value = nullptr;
  UINT length = 0;
  if (block.empty() ||
      !VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", &value, &length) ||
      value == nullptr || length < 4)
    return false;
  std::memcpy(translation, value, 4);
  return true;
}

bool Win32Files::QueryVersionString(const std::vector<std::uint8_t>& block,
                                    const std::string& sub_block, std::string* text) {
  void* value = nullptr;
  UINT length = 0;
  if (block.empty() || !VerQueryValueA(block.data(), sub_block.c_str(), &value, &length) ||
      value == nullptr)
    return false;
  // The text lies inside the block; never read past its end.
  const char* start = static_cast<const char*>(value);
  const char* end = reinterpret_cast<const char*>(block.data() + block.size());
  if (start < reinterpret_cast<const char*>(block.data()) || start >= end) return false;
  text->assign(start, static_cast<std::size_t>(std::find(start, end, '\0') - start));
  return true;
}

bool Win32Files::ToLocalTime(std::uint64_t file_time, std::tm* local) {
  FILETIME utc, local_time;
  utc.dwLowDateTime = static_cast<DWORD>(file_time);
  utc.dwHighDateTime = static_cast<DWORD>(file_time >> 32);
  SYSTEMTIME fields;
  if (!FileTimeToLocalFileTime(&utc, &local_time) || !FileTimeToSystemTime(&local_time, &fields))
    return false;
  *local = std::tm{};
  local->tm_year = fields.wYear - 1900;
  local->tm_mon = fields.wMonth - 1;
  local->tm_mday = fields.wDay;
  local->tm_hour = fields.wHour;
  local->tm_min = fields.wMinute;
  local->tm_sec = fields.wSecond;
  local->tm_wday = fields.wDayOfWeek;
  return true;
}

std::string Win32Files::AppDataFolder() {
  // Asked once per removal: loading the shell each time costs more than the removal itself.
  if (!app_data_.empty()) return app_data_;
  // The shell is loaded only when a folder is asked for: linked at start, it would bring the
  // whole windowing system into every run of the console tool.
  using GetFolderPath = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPSTR);
  HMODULE shell = LoadLibraryA("shell32.dll");
  if (shell == nullptr) return std::string();
  const auto get_folder_path = reinterpret_cast<GetFolderPath>(
      reinterpret_cast<void*>(GetProcAddress(shell, "SHGetFolderPathA")));
  char folder[MAX_PATH] = "";
  const bool found =
      get_folder_path != nullptr &&
      SUCCEEDED(get_folder_path(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr,
                                SHGFP_TYPE_CURRENT, folder));
  FreeLibrary(shell);
  if (found) app_data_ = folder;
  return app_data_;
}

bool Win32Files::CreateFolder(const char* path) {
  if (CreateDirectoryA(path, nullptr)) return true;
  const DWORD attributes = GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool Win32Files::WriteNewFile(const char* path, const std::string& bytes) {
  HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  std::size_t done = 0;
  bool ok = true;
  while (ok && done < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
    DWORD written = 0;
    ok = WriteFile(file, bytes.data() + done, chunk, &written, nullptr) && written == chunk;
    done += written;
  }
  // Data still in the cache can fail to reach the disk: the close must succeed too.
  ok = CloseHandle(file) && ok;
  if (!ok) DeleteFileA(path);
  return ok;
}

}  // namespace corvane
