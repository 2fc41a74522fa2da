// What one walk over the registry learned of files: many classes share a server file, and
// each find is a round trip to the file system.
#pragma once
#include <string>
#include <unordered_map>

#include "platform/files.h"

namespace corvane {

class CFindCache {
 public:
  explicit CFindCache(Files& files) : files_(files) {}
  // FindFile of path, asked of the file system once per path (ignoring case) for the life
  // of the cache.
  bool Find(const std::string& path, FoundFile* found = nullptr);

 private:
  struct Result {
    bool found = false;
    FoundFile file;
  };
  Files& files_;
  std::unordered_map<std::string, Result> results_;
};

}  // namespace corvane
