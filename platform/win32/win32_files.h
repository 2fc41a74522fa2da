// The files seam over kernel32.
#pragma once
#include "platform/files.h"

namespace corvane {

// In the 32-bit build the 64-bit view's files are found, mapped and read with the file-system
// redirection off; in the 64-bit build the 32-bit view's System32 paths are read in SysWOW64.
class Win32Files : public Files {
 public:
  bool FindFile(const char* path, FoundFile* found) override;
  std::uint32_t ExpandEnvironment(const char* source, char* out,
                                         std::uint32_t size) override;
  bool ReadVersionBlock(const char* path, std::vector<std::uint8_t>* block) override;
  bool QueryVersionTranslation(const std::vector<std::uint8_t>& block,
                               std::uint32_t* translation) override;
  bool QueryVersionString(const std::vector<std::uint8_t>& block, const std::string& sub_block,
                          std::string* text) override;
  bool ToLocalTime(std::uint64_t file_time, std::tm* local) override;
  std::unique_ptr<FileView> MapFile(const char* path) override;
  std::string FindOnSearchPath(const char* name) override;
  std::string SystemFolderFor(bool pe32_plus) override;
  // Found once, then kept: the folder does not move while the program runs.
  std::string AppDataFolder() override;
  bool CreateFolder(const char* path) override;
  bool WriteNewFile(const char* path, const std::string& bytes) override;
  std::vector<FoundFile> ListRegFiles(const char* folder) override;
  bool EraseFile(const char* path) override;

 private:
  std::string app_data_;
  // The path as the chosen view's programs mean it.
  std::string ForView(const char* path) const;
};

}  // namespace corvane
