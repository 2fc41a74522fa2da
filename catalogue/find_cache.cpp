#include "catalogue/find_cache.h"

#include "platform/text.h"

namespace corvane {

bool CFindCache::Find(const std::string& path, FoundFile* found) {
  auto [entry, added] = results_.try_emplace(ToUpper(path));
  Result& result = entry->second;
  if (added) result.found = files_.FindFile(path.c_str(), &result.file);
  if (result.found && found != nullptr) *found = result.file;
  return result.found;
}

}  // namespace corvane
