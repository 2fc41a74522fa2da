#include "platform/memory/memory_files.h"

#include <cstring>
#include <utility>

#include "catalogue/version_resource.h"
#include "platform/text.h"

namespace corvane {

namespace {

// Holds its own copy, so that a later change of the file leaves the view as it was.
class MemoryFileView : public FileView {
 public:
  explicit MemoryFileView(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}
  const std::uint8_t* data() const override { return bytes_.data(); }
  std::size_t size() const override { return bytes_.size(); }

 private:
  std::vector<std::uint8_t> bytes_;
};

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
  contents_.erase(ToUpper(path));
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

void MemoryFiles::SetContents(const std::string& path, std::vector<std::uint8_t> bytes) {
  if (Entry(path) == nullptr) AddFile(path);
  Entry(path)->size = bytes.size();
  contents_[ToUpper(path)] = std::move(bytes);
}

void MemoryFiles::SetSearchFolders(std::vector<std::string> folders) {
  search_folders_ = std::move(folders);
}

std::unique_ptr<FileView> MemoryFiles::MapFile(const char* path) {
  std::string key = ToUpper(path ? path : "");
  auto alias = aliases_.find(key);
  if (alias != aliases_.end()) key = alias->second;
  auto bytes = contents_.find(key);
  if (files_.count(key) == 0 || bytes == contents_.end() || bytes->second.empty()) {
    return nullptr;
  }
  return std::make_unique<MemoryFileView>(bytes->second);
}

std::string MemoryFiles::FindOnSearchPath(const char* name) {
  if (name == nullptr || *name == '\0') return std::string();
  FoundFile found;
  for (const std::string& folder : search_folders_) {
    const std::string candidate = folder + "\\" + name;
    if (FindFile(candidate.c_str(), &found)) return candidate;
  }
  return std::string();
}

bool MemoryFiles::ReadVersionBlock(const char* path, std::vector<std::uint8_t>* block) {
  auto contents = contents_.find(ToUpper(path ? path : ""));
  if (contents == contents_.end()) return false;
  return ExtractVersionResource(contents->second.data(), contents->second.size(), block);
}

bool MemoryFiles::QueryVersionTranslation(const std::vector<std::uint8_t>& block,
                                          std::uint32_t* translation) {
  return corvane::QueryVersionTranslation(block, translation);
}

bool MemoryFiles::QueryVersionString(const std::vector<std::uint8_t>& block,
                                     const std::string& sub_block, std::string* text) {
  return corvane::QueryVersionString(block, sub_block, text);
}

bool MemoryFiles::ToLocalTime(std::uint64_t file_time, std::tm* local) {
  // FILETIME ticks are 100 ns since 1601-01-01; count whole seconds, then civil days.
  const std::int64_t seconds =
      static_cast<std::int64_t>(file_time / 10000000) + std::int64_t{utc_offset_minutes_} * 60;
  if (seconds < 0) return false;
  std::int64_t days = seconds / 86400;
  const std::int64_t in_day = seconds % 86400;
  *local = std::tm{};
  local->tm_hour = static_cast<int>(in_day / 3600);
  local->tm_min = static_cast<int>(in_day / 60 % 60);
  local->tm_sec = static_cast<int>(in_day % 60);
  local->tm_wday = static_cast<int>((days + 1) % 7);  // 1601-01-01 was a Monday
  // Days since 1601-01-01 to a date, by 400-year cycles of the Gregorian calendar.
  int year = 1601;
  year += static_cast<int>(days / 146097) * 400, days %= 146097;
  auto leap = [](int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; };
  while (days >= (leap(year) ? 366 : 365)) days -= leap(year) ? 366 : 365, ++year;
  static const int kMonthDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  int month = 0;
  for (; month < 11; ++month) {
    const int length = kMonthDays[month] + (month == 1 && leap(year) ? 1 : 0);
    if (days < length) break;
    days -= length;
  }
  local->tm_year = year - 1900;
  local->tm_mon = month;
  local->tm_mday = static_cast<int>(days) + 1;
  return true;
}

}  // namespace corvane

namespace corvane {

namespace {

bool IsBelow(const std::string& upper_path, const std::vector<std::string>& folders) {
  for (const std::string& folder : folders) {
    if (upper_path == folder ||
        (upper_path.compare(0, folder.size(), folder) == 0 && upper_path[folder.size()] == '\\'))
      return true;
  }
  return false;
}

}  // namespace

bool MemoryFiles::CreateFolder(const char* path) {
  const std::string key = ToUpper(path ? path : "");
  if (key.empty() || IsBelow(key, refused_writes_)) return false;
  auto it = files_.find(key);
  if (it != files_.end()) return it->second.is_directory;
  FoundFile folder;
  folder.long_name = LastComponent(path);
  folder.is_directory = true;
  files_[key] = folder;
  paths_[key] = path;
  return true;
}

bool MemoryFiles::WriteNewFile(const char* path, const std::string& bytes) {
  const std::string key = ToUpper(path ? path : "");
  if (key.empty() || IsBelow(key, refused_writes_)) return false;
  if (files_.count(key)) return false;
  SetContents(path, std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
  return true;
}

std::string MemoryFiles::Contents(const std::string& path) const {
  auto it = contents_.find(ToUpper(path));
  return it == contents_.end() ? std::string() : std::string(it->second.begin(), it->second.end());
}

std::vector<std::string> MemoryFiles::Paths() const {
  std::vector<std::string> paths;
  for (const auto& entry : paths_) paths.push_back(entry.second);
  return paths;
}

std::vector<FoundFile> MemoryFiles::ListRegFiles(const char* folder) {
  const std::string below = ToUpper(folder ? folder : "") + "\\";
  std::vector<FoundFile> found;
  for (const auto& [key, entry] : files_) {
    if (entry.is_directory || key.compare(0, below.size(), below) != 0 ||
        key.find('\\', below.size()) != std::string::npos || key.size() < below.size() + 4 ||
        key.compare(key.size() - 4, 4, ".REG") != 0)
      continue;
    found.push_back(entry);
  }
  return found;
}

bool MemoryFiles::EraseFile(const char* path) {
  const std::string key = ToUpper(path ? path : "");
  if (!files_.count(key) || files_[key].is_directory || IsBelow(key, refused_writes_)) return false;
  RemoveFile(std::string(path));
  return true;
}

}  // namespace corvane
