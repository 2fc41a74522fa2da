#include "update/update_info.h"

#include <cstdio>
#include <cstring>

#include "update/line_reader.h"
#include "app/settings.h"
#include "platform/text.h"

namespace corvane {

const char* const kUpdateKeyNames[kUpdateKeyCount] = {
    "LATEST VERSION", "VERSION TO DISPLAY", "FILE URL",         "FILE SIZE",      "RELEASE DATE",
    "NEWS DATE",      "NEW CHANGES TEXT",   "OLD CHANGES TEXT", "DESCRIPTION URL"};

namespace {

constexpr char kBlanks[] = " \t\r\n\v\f";
constexpr std::uint32_t kUrlBufferSize = 1024;

std::string Trim(const std::string& text) {
  std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

bool IsReservedDeviceName(const std::string& name) {
  std::string base = ToUpper(name.substr(0, name.find('.')));
  base = base.substr(0, base.find_last_not_of(' ') + 1);
  static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL", "CLOCK$"};
  for (const char* device : kDevices) {
    if (base == device) return true;
  }
  return base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) &&
         base[3] >= '1' && base[3] <= '9';
}

}  // namespace

bool UpdateInfo::Complete() const {
  for (const std::string& value : values) {
    if (value.empty()) return false;
  }
  return true;
}

UpdateInfo ParseUpdateInfo(const std::string& text) {
  UpdateInfo info;
  CLineReader lines(text);
  while (lines.NextLine()) {
    const std::string& line = lines.line();
    std::size_t colon = line.find(':');
    if (colon == std::string::npos) continue;
    const std::string key = ToUpper(Trim(line.substr(0, colon)));
    for (int i = 0; i < kUpdateKeyCount; ++i) {
      if (key == kUpdateKeyNames[i]) info.values[i] = Trim(line.substr(colon + 1));
    }
  }
  return info;
}

bool ReadUpTo(const ChunkReader& read, std::size_t limit, std::string* text) {
  text->clear();
  std::string buffer(limit, '\0');
  while (text->size() < limit) {
    std::uint32_t got = 0;
    const std::uint32_t want = static_cast<std::uint32_t>(limit - text->size());
    if (!read(&buffer[0], want, &got)) return false;
    if (got == 0) break;
    text->append(buffer.data(), got < want ? got : want);
  }
  return true;
}

std::string UpdateFileName(const std::string& file_url) {
  std::string name = file_url.substr(0, file_url.find_first_of("?#"));
  const std::size_t separator = name.find_last_of("/\\");
  if (separator != std::string::npos) name.erase(0, separator + 1);
  if (name.empty() || name == "." || name == "..") return std::string();
  for (unsigned char c : name) {
    if (c < 32 || std::strchr("<>:\"|?*", c) != nullptr) return std::string();
  }
  // Windows drops trailing dots and blanks, which could make two names one.
  const char last = name.back();
  if (last == '.' || last == ' ' || IsReservedDeviceName(name)) return std::string();
  return name;
}

std::string NumberedFileName(const std::string& name, int n) {
  if (n <= 1) return name;
  std::size_t dot = name.rfind('.');
  if (dot == std::string::npos || dot == 0) dot = name.size();
  return name.substr(0, dot) + " (" + std::to_string(n) + ")" + name.substr(dot);
}

DownloadProgress DescribeProgress(std::uint32_t bytes, std::uint32_t total,
                                  const std::string& percent_pattern) {
  DownloadProgress progress = {0, std::string()};
  char text[512] = "";
  if (total == 0) {
    std::snprintf(text, sizeof text, "Downloading the update to your Windows Desktop ... %lu KB",
                  static_cast<unsigned long>(bytes / 1024));
  } else {
    const std::uint64_t percent = static_cast<std::uint64_t>(bytes) * 100 / total;
    progress.percent = percent > 100 ? 100 : static_cast<int>(percent);
    std::snprintf(text, sizeof text, percent_pattern.c_str(), progress.percent);
  }
  progress.text = text;
  return progress;
}

std::string ReadUpdateUrl(Registry& registry) {
  RegKey key = 0;
  const std::string path = std::string(kSettingsKey) + "\\" + kWebUpdateSection;
  if (registry.OpenKey(kCurrentUser, path.c_str(), kKeyRead, &key) != kErrorSuccess)
    return kDefaultUpdateUrl;
  KeyCloser closer(registry, key);
  char data[kUrlBufferSize] = "";
  std::uint32_t type = 0;
  std::uint32_t size = kUrlBufferSize - 1;
  if (registry.QueryValue(key, kUpdateUrlValue, &type, reinterpret_cast<std::uint8_t*>(data),
                          &size) != kErrorSuccess ||
      type != kRegSz || size > kUrlBufferSize - 1)
    return kDefaultUpdateUrl;
  std::string url(data, strnlen(data, size));
  return url.empty() ? kDefaultUpdateUrl : url;
}

}  // namespace corvane
