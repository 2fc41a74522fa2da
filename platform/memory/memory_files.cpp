#include "platform/memory/memory_files.h"

#include <cstring>

#include "platform/text.h"

namespace corvane {

namespace {

std::string LastComponent(const std::string& path) {
  std::size_t slash = path.find_last_of('\\');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

void MemoryFiles::AddFile(const std::string& path, std::uint64_t size,
                          const std::string& short_name) {
  FoundFile file;
  file.long_name = LastComponent(path);
  file.short_name = short_name;
  file.size = size;
  files_[ToUpper(path)] = file;
  paths_[ToUpper(path)] = path;
}

void MemoryFiles::AddAlias(const std::string& alias, const std::string& target) {
  aliases_[ToUpper(alias)] = ToUpper(target);
}

void MemoryFiles::RemoveFile(const std::string& path) {
  files_.erase(ToUpper(path));
  paths_.erase(ToUpper(path));
}

void MemoryFiles::SetVariable(const std::string& name, const std::string& value) {
  variables_[ToUpper(name)] = value;
}

FoundFile* MemoryFiles::Entry(const std::string& path) {
  auto it = files_.find(ToUpper(path));
  return it == files_.end() ? nullptr : &it->second;
}

bool MemoryFiles::FindFile(const char* path, FoundFile* found) {
  std::string key = ToUpper(path ? path : "");
  if (key.empty() || key.back() == '\\') return false;
  auto alias = aliases_.find(key);
  if (alias != aliases_.end()) key = alias->second;
  auto file = files_.find(key);
  if (file != files_.end()) {
    *found = file->second;
    return true;
  }
  // A folder exists when some file lies below it.
  const std::string folder = key + "\\";
  auto below = files_.lower_bound(folder);
  if (below != files_.end() && below->first.compare(0, folder.size(), folder) == 0) {
    *found = FoundFile{};
    found->long_name = LastComponent(paths_[below->first].substr(0, key.size()));
    found->is_directory = true;
    return true;
  }
  return false;
}

std::uint32_t MemoryFiles::ExpandEnvironment(const char* source, char* out,
                                                    std::uint32_t size) {
  if (source == nullptr) return 0;
  std::string result;
  const std::string text = source;
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t close = text[i] == '%' ? text.find('%', i + 1) : std::string::npos;
    if (close == std::string::npos) {
      result += text[i++];
      continue;
    }
    auto variable = variables_.find(ToUpper(text.substr(i + 1, close - i - 1)));
    if (variable == variables_.end()) {
      // Unknown names stay as written; the closing % may open the next name.
      result += text.substr(i, close - i);
      i = close;
    } else {
      result += variable->second;
      i = close + 1;
    }
  }
  const auto needed = static_cast<std::uint32_t>(result.size() + 1);
  if (out != nullptr && needed <= size) std::memcpy(out, result.c_str(), needed);
  return needed;
}

}  // namespace corvane
