// The files seam: the kernel32 file calls the core makes, with their Win32 semantics.
#pragma once
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "platform/registry_view.h"

namespace corvane {

// What FindFirstFileA reports of one file or directory.
struct FoundFile {
  std::string long_name;   // cFileName: the name, without the folder
  std::string short_name;  // cAlternateFileName: the 8.3 name, empty when the name is 8.3 already
  std::uint64_t size = 0;
  bool is_directory = false;
  // FILETIMEs: 100 ns ticks since 1601-01-01 UTC.
  std::uint64_t creation_time = 0;
  std::uint64_t last_write_time = 0;
  std::uint64_t last_access_time = 0;
};

// A read-only view of a whole file's bytes; released by its destructor.
class FileView {
 public:
  virtual ~FileView() = default;
  virtual const std::uint8_t* data() const = 0;
  virtual std::size_t size() const = 0;
};

class Files {
 public:
  virtual ~Files() = default;

  // The file calls look at the files as the programs of this registry view see them (on
  // 64-bit Windows, System32 holds the 64-bit files and SysWOW64 the 32-bit ones).
  RegistryView view() const { return view_; }
  void set_view(RegistryView view) { view_ = view; }

  // FindFirstFileA on the path as given (the handle is closed at once): true when found.
  virtual bool FindFile(const char* path, FoundFile* found) = 0;
  // ExpandEnvironmentStringsA: the length needed including the terminator, 0 on failure;
  // writes the result only when it fits in size characters.
  virtual std::uint32_t ExpandEnvironment(const char* source, char* out,
                                                 std::uint32_t size) = 0;
  // Maps the whole file read-only; null when it can't be opened or mapped (an empty file
  // can't be mapped).
  virtual std::unique_ptr<FileView> MapFile(const char* path) = 0;
  // SearchPathA with the system's default order: the full path found, empty when none.
  virtual std::string FindOnSearchPath(const char* name) = 0;

  // The system folder of DLLs of that bitness, as this process reaches it, when the search
  // order doesn't look there (GetSystemWow64DirectoryA in a 64-bit process, the Sysnative
  // alias in a 32-bit one on 64-bit Windows); empty when the search order covers it or the
  // system has none.
  virtual std::string SystemFolderFor(bool pe32_plus) = 0;

  // GetFileVersionInfoSizeA and GetFileVersionInfoA: the file's version block.
  virtual bool ReadVersionBlock(const char* path, std::vector<std::uint8_t>* block) = 0;
  // VerQueryValueA on such a block: the first "\VarFileInfo\Translation" entry, and the text
  // of a string sub-block.
  virtual bool QueryVersionTranslation(const std::vector<std::uint8_t>& block,
                                       std::uint32_t* translation) = 0;
  virtual bool QueryVersionString(const std::vector<std::uint8_t>& block,
                                  const std::string& sub_block, std::string* text) = 0;
  // FileTimeToLocalFileTime then FileTimeToSystemTime, as calendar fields.
  virtual bool ToLocalTime(std::uint64_t file_time, std::tm* local) = 0;

  // SHGetFolderPathA of CSIDL_APPDATA: the user's application data folder; empty when unknown.
  virtual std::string AppDataFolder() = 0;
  // CreateDirectoryA: true when the folder is there afterwards, made now or before.
  virtual bool CreateFolder(const char* path) = 0;
  // CreateFileA with CREATE_NEW and WriteFile of every byte: true only when the file did not
  // exist and all of the bytes were written; a file only partly written is deleted again.
  virtual bool WriteNewFile(const char* path, const std::string& bytes) = 0;
  // FindFirstFileA and FindNextFileA over folder\*.reg: the files (not folders) found.
  virtual std::vector<FoundFile> ListRegFiles(const char* folder) {
    (void)folder;
    return {};
  }
  // DeleteFileA: true when the file is gone.
  virtual bool EraseFile(const char* path) {
    (void)path;
    return false;
  }

 private:
  RegistryView view_ = kBuildView;
};

}  // namespace corvane
