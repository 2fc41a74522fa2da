// An in-memory file system with Windows path rules: case-blind, folders implied by the files
// in them, optional 8.3 names and aliases, and an environment for expansion.
#pragma once
#include <map>
#include <string>

#include "platform/files.h"

namespace corvane {

class MemoryFiles : public Files {
 public:
  bool FindFile(const char* path, FoundFile* found) override;
  std::uint32_t ExpandEnvironment(const char* source, char* out,
                                         std::uint32_t size) override;

  // Adds a file by its full path; short_name is what a find reports as its 8.3 name.
  void AddFile(const std::string& path, std::uint64_t size = 0,
               const std::string& short_name = "");
  // Makes another path (an 8.3 form, say) reach the file at target.
  void AddAlias(const std::string& alias, const std::string& target);
  void RemoveFile(const std::string& path);
  void SetVariable(const std::string& name, const std::string& value);
  FoundFile* Entry(const std::string& path);

 private:
  std::map<std::string, std::string> paths_;      // upper-cased path -> path as added
  std::map<std::string, FoundFile> files_;        // upper-cased path -> what a find reports
  std::map<std::string, std::string> aliases_;    // upper-cased alias -> upper-cased target
  std::map<std::string, std::string> variables_;  // upper-cased name -> value
};

}  // namespace corvane
