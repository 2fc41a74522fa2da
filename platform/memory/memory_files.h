// An in-memory file system with Windows path rules: case-blind, folders implied by the files
// in them, optional 8.3 names and aliases, and an environment for expansion.
#pragma once
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/text.h"

namespace corvane {

class MemoryFiles : public Files {
 public:
  bool FindFile(const char* path, FoundFile* found) override;
  std::uint32_t ExpandEnvironment(const char* source, char* out,
                                         std::uint32_t size) override;
  // Version blocks come from the file's bytes through the portable reader.
  bool ReadVersionBlock(const char* path, std::vector<std::uint8_t>* block) override;
  bool QueryVersionTranslation(const std::vector<std::uint8_t>& block,
                               std::uint32_t* translation) override;
  bool QueryVersionString(const std::vector<std::uint8_t>& block, const std::string& sub_block,
                          std::string* text) override;
  // Local time is UTC shifted by the offset the test sets.
  bool ToLocalTime(std::uint64_t file_time, std::tm* local) override;
  std::unique_ptr<FileView> MapFile(const char* path) override;
  // Tries each search folder in order.
  std::string FindOnSearchPath(const char* name) override;
  std::string AppDataFolder() override { return app_data_; }
  bool CreateFolder(const char* path) override;
  // The file gets the bytes as its contents.
  bool WriteNewFile(const char* path, const std::string& bytes) override;
  std::vector<FoundFile> ListRegFiles(const char* folder) override;
  bool EraseFile(const char* path) override;

  // Adds a file by its full path; short_name is what a find reports as its 8.3 name.
  void AddFile(const std::string& path, std::uint64_t size = 0,
               const std::string& short_name = "");
  // Makes another path (an 8.3 form, say) reach the file at target.
  void AddAlias(const std::string& alias, const std::string& target);
  void RemoveFile(const std::string& path);
  // The folders FindOnSearchPath tries, in order.
  void SetSearchFolders(std::vector<std::string> folders);
  // What SystemFolderFor answers for each bitness.
  void SetOtherSystemFolder(bool pe32_plus, const std::string& folder) {
    other_system_[pe32_plus ? 1 : 0] = folder;
  }
  std::string SystemFolderFor(bool pe32_plus) override { return other_system_[pe32_plus ? 1 : 0]; }
  // Gives a file its bytes, adding it when absent; its size follows them.
  void SetContents(const std::string& path, std::vector<std::uint8_t> bytes);
  void SetVariable(const std::string& name, const std::string& value);
  void SetUtcOffsetMinutes(int minutes) { utc_offset_minutes_ = minutes; }
  FoundFile* Entry(const std::string& path);
  void SetAppDataFolder(const std::string& folder) { app_data_ = folder; }
  // Folders made and files written below this folder fail from now on.
  void RefuseWritesBelow(const std::string& folder) { refused_writes_.push_back(ToUpper(folder)); }
  // The bytes of a file as text; empty when there is no such file.
  std::string Contents(const std::string& path) const;
  // Every path added or written, as given.
  std::vector<std::string> Paths() const;

 private:
  std::string other_system_[2];
  std::map<std::string, std::string> paths_;      // upper-cased path -> path as added
  std::map<std::string, FoundFile> files_;        // upper-cased path -> what a find reports
  std::map<std::string, std::string> aliases_;    // upper-cased alias -> upper-cased target
  std::map<std::string, std::string> variables_;  // upper-cased name -> value
  std::map<std::string, std::vector<std::uint8_t>> contents_;  // upper-cased path -> bytes
  int utc_offset_minutes_ = 0;
  std::vector<std::string> search_folders_;
  std::string app_data_ = "C:\\Users\\tester\\Application Data";
  std::vector<std::string> refused_writes_;  // upper-cased folders
};

}  // namespace corvane
