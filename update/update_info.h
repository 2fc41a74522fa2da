// The update information file: "KEY: value" lines naming the latest version, its installer and
// the news; how much of it is read; the installer's file name; the download's progress text.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/registry.h"

namespace corvane {

enum UpdateKey {
  kLatestVersion,
  kVersionToDisplay,
  kFileUrl,
  kFileSize,
  kReleaseDate,
  kNewsDate,
  kNewChangesText,
  kOldChangesText,
  kDescriptionUrl,
  kUpdateKeyCount
};

// The key names as the file spells them (upper case), by UpdateKey.
extern const char* const kUpdateKeyNames[kUpdateKeyCount];

struct UpdateInfo {
  std::string values[kUpdateKeyCount];

  const std::string& operator[](UpdateKey key) const { return values[key]; }
  // All nine values are there and none is empty.
  bool Complete() const;
};

// One pair a line, split at the line's first colon; keys are case-blind and trimmed, values
// trimmed with their case kept; a later line overwrites an earlier one; lines without a colon
// and unknown keys are skipped.
UpdateInfo ParseUpdateInfo(const std::string& text);

// The most of the update information file that is read.
constexpr std::size_t kUpdateInfoLimit = 4095;
// One read of at most `size` bytes into `buffer`: false when it fails, else the count read.
using ChunkReader = std::function<bool(char* buffer, std::uint32_t size, std::uint32_t* read)>;
// Reads until a read delivers nothing or `limit` bytes are in; a short read does not end it.
// False when a read fails.
bool ReadUpTo(const ChunkReader& read, std::size_t limit, std::string* text);

// The most news that is read: a document larger than this is refused.
constexpr std::size_t kNewsLimit = 1024 * 1024;

// The installer's file name: the last component of the URL after its last slash or
// backslash, without query or fragment. Empty when that is not a usable file name (empty,
// "." or "..", characters Windows forbids in names, a device name such as CON), so that
// nothing is written outside the download folder.
std::string UpdateFileName(const std::string& file_url);
// The n-th name tried for the installer when earlier ones are taken: the name itself for 1,
// else "name (n).ext".
std::string NumberedFileName(const std::string& name, int n);

// Progress of a download: the percentage for the bar (0 when the total is unknown) and the
// text: `percent_pattern` (with one %d) filled with it, or the kilobytes received so far when
// the total is 0.
struct DownloadProgress {
  int percent;
  std::string text;
};
DownloadProgress DescribeProgress(std::uint32_t bytes, std::uint32_t total,
                                  const std::string& percent_pattern);

// The update information URL from the settings ("WebUpdate", "URL"); the maker's file when
// it is not set.
inline constexpr char kWebUpdateSection[] = "WebUpdate";
inline constexpr char kUpdateUrlValue[] = "URL";
inline constexpr char kDefaultUpdateUrl[] = "http://www.tessaline.example/com/update/ver.txt";
std::string ReadUpdateUrl(Registry& registry);

}  // namespace corvane
