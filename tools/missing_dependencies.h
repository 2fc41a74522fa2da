// The search for server files that need a DLL which can't be found. One search walks each
// file's imports and looks up each DLL name once, however many records share them.
#pragma once
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "catalogue/dependency_walker.h"
#include "catalogue/registered_object.h"

namespace corvane {

class MissingDependencySearch {
 public:
  MissingDependencySearch(Files& files, Modules& modules);
  ~MissingDependencySearch();
  MissingDependencySearch(const MissingDependencySearch&) = delete;
  MissingDependencySearch& operator=(const MissingDependencySearch&) = delete;

  // The DLL names that the walk of path lists as not found and not only delay-loaded (those
  // that keep the file from loading), in walk order, exactly as GetFileDependencies would
  // list them; empty also when path can't be read as a PE file.
  // Files are keyed by their path without regard to case.
  const std::vector<std::string>& MissingOf(const std::string& path);
  // True when the record's server file exists and needs a DLL that can't be found.
  bool IsMissingDependency(const CRegisteredObject& record);

 private:
  class CachedLookup;
  std::unique_ptr<CachedLookup> lookup_;
  std::unordered_map<std::string, std::vector<std::string>> missing_;
};

}  // namespace corvane
