// A file and its version information: the base of every record, and alone one entry of a
// dependency list.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "catalogue/found_by.h"
#include "catalogue/record_sinks.h"
#include "platform/platform.h"

namespace corvane {

class CFindCache;
struct Dependency;

class CFileObject {
 public:
  explicit CFileObject(const Platform& platform);
  virtual ~CFileObject();
  CFileObject(const CFileObject&) = delete;
  CFileObject& operator=(const CFileObject&) = delete;

  virtual std::string GetFilePath() const;
  virtual void FillAttributes(AttributeRows& rows);

  // Stores the module name and path, expands the path; exists = path not empty.
  void SetServer(const std::string& module_name, const std::string& path);
  // As SetServer for an entry of a dependency list, which also keeps how it was found; a
  // DLL refused for its bitness keeps its path and counts as missing.
  void SetDependency(const Dependency& dependency);
  // Expands environment variables in the path when it has a "%" and the result fits.
  void ExpandPath();
  // 1 when the file path, or a text before one of its blanks, is found, or when what is
  // left after the last cut holds no backslash (a bare name, found on the search path).
  // With a cache, each text is looked for once per cache. Without cut_at_blanks only the
  // whole path is looked for.
  int CheckFileExists(CFindCache* finds = nullptr, bool cut_at_blanks = true) const;

  // Indexes 5 to 10: path, status, size and the three dates; empty for other indexes and
  // for sizes and dates of a file that is missing or can't be found by its path.
  std::string GetFileStatusText(int index) const;
  // Loads the version block once: 1 when it and its first translation are there.
  int LoadVersionInfo();
  // Indexes 11 to 18: the string of the first translation; empty when not loaded or absent.
  std::string GetVersionString(int index) const;

  int exists() const { return exists_; }
  const std::string& module_name() const { return module_name_; }
  FoundBy found_by() const { return found_by_; }
  // A dependency reached only through delay-loaded imports: its server loads without it.
  bool delay_loaded() const { return delay_loaded_; }

 protected:
  // FindFile of path, uncached.
  bool FindFile(const std::string& path) const;

  const Platform& platform_;
  std::vector<std::uint8_t> version_block_;  // empty until the version resource is loaded
  int exists_ = 0;
  std::string module_name_;
  std::string file_path_;
  std::uint32_t translation_ = 0;
  FoundBy found_by_ = FoundBy::kNotFound;
  bool delay_loaded_ = false;
  bool is_dependency_ = false;
};

}  // namespace corvane
