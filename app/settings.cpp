#include "app/settings.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "platform/text.h"

namespace corvane {

namespace {

struct IntegerValue {
  const char* name;
  int Settings::*field;
  int highest;  // the values run from 0 to this; others read as the default
};

// "General" in load and save order.
const IntegerValue kGeneralValues[] = {
    {kDisplayMissingValue, &Settings::display_missing, 1},
    {kDisplayInstalledValue, &Settings::display_installed, 1},
    {kDisplayInListValue, &Settings::display_in_list, 3},
    {kAfterRegisterValue, &Settings::after_register, 3},
    {kAfterUnregisterValue, &Settings::after_unregister, 3},
    {kAfterRemoveValue, &Settings::after_remove, 3},
    {kRegistryViewValue, &Settings::registry_view, 64},
};

constexpr std::uint32_t kTextBufferSize = 1024;
constexpr char kComputerPrefix[] = "Computer";
constexpr std::int32_t kMaxIndex = 0x7FFFFFFF;

std::string SectionPath(const char* section) { return std::string(kSettingsKey) + "\\" + section; }

std::int32_t FromDword(const std::uint8_t* data) {
  const std::uint32_t bits =
      data[0] | data[1] << 8 | data[2] << 16 | static_cast<std::uint32_t>(data[3]) << 24;
  return bits <= 0x7FFFFFFFu ? static_cast<std::int32_t>(bits)
                             : -static_cast<std::int32_t>(~bits) - 1;
}

// Only a REG_DWORD of exactly four bytes counts; anything else is the default.
int ReadInteger(Registry& registry, RegKey key, const char* name, int fallback) {
  if (key == 0) return fallback;
  std::uint8_t data[4];
  std::uint32_t type = 0;
  std::uint32_t size = sizeof data;
  if (registry.QueryValue(key, name, &type, data, &size) != kErrorSuccess) return fallback;
  if (type != kRegDword || size != sizeof data) return fallback;
  return FromDword(data);
}

// A REG_SZ up to its first NUL, terminated or not; anything else leaves text empty. The
// result of the read: whether the value is there at all.
long ReadText(Registry& registry, RegKey key, const char* name, std::string* text) {
  text->clear();
  char data[kTextBufferSize];
  std::uint32_t type = 0;
  std::uint32_t size = kTextBufferSize - 1;
  const long rc =
      registry.QueryValue(key, name, &type, reinterpret_cast<std::uint8_t*>(data), &size);
  if (rc == kErrorSuccess && type == kRegSz && size <= kTextBufferSize - 1)
    text->assign(data, strnlen(data, size));
  return rc;
}

// The index of a value named exactly as kComputerValuePattern makes it, or 0.
std::int32_t ComputerIndex(const char* name) {
  const std::size_t prefix = sizeof kComputerPrefix - 1;
  const std::size_t length = std::strlen(name);
  if (length <= prefix || length > prefix + 10) return 0;
  if (!EqualsNoCase(std::string(name, prefix), kComputerPrefix)) return 0;
  if (name[prefix] == '0') return 0;
  std::uint64_t index = 0;
  for (const char* p = name + prefix; *p != '\0'; ++p) {
    if (*p < '0' || *p > '9') return 0;
    index = index * 10 + static_cast<std::uint64_t>(*p - '0');
  }
  return index <= static_cast<std::uint64_t>(kMaxIndex) ? static_cast<std::int32_t>(index) : 0;
}

// The indexes from 1 to count of the computer names stored, in order, so that the load reads
// only the values that exist, whatever Count says. False when the values can't be listed.
bool ListComputerIndexes(Registry& registry, RegKey key, std::int32_t count,
                         std::vector<std::int32_t>* indexes) {
  for (std::uint32_t index = 0;; ++index) {
    char name[kTextBufferSize];
    std::uint32_t name_size = sizeof name;
    const long rc = registry.EnumValue(key, index, name, &name_size, nullptr, nullptr, nullptr);
    if (rc == kErrorNoMoreItems) break;
    if (rc == kErrorMoreData) continue;  // a name too long to be one of ours
    if (rc != kErrorSuccess) return false;
    name[sizeof name - 1] = '\0';
    const std::int32_t found = ComputerIndex(name);
    if (found >= 1 && found <= count) indexes->push_back(found);
  }
  std::sort(indexes->begin(), indexes->end());
  return true;
}

std::string ComputerValueName(std::int32_t index) {
  char name[32];
  std::snprintf(name, sizeof name, kComputerValuePattern, static_cast<long>(index));
  return name;
}

void LoadComputers(Registry& registry, RegKey key, std::vector<std::string>* computers) {
  computers->clear();
  if (key == 0) return;
  const std::int32_t count = ReadInteger(registry, key, kCountValue, 0);
  if (count <= 0) return;
  std::string computer;
  std::vector<std::int32_t> indexes;
  if (ListComputerIndexes(registry, key, count, &indexes)) {
    for (const std::int32_t i : indexes) {
      ReadText(registry, key, ComputerValueName(i).c_str(), &computer);
      if (!computer.empty()) computers->push_back(computer);
    }
    return;
  }
  // Unlisted, the names are read in order for as long as they are there: a saved list has
  // no gaps.
  for (std::int32_t i = 1; i <= count; ++i) {
    const long rc = ReadText(registry, key, ComputerValueName(i).c_str(), &computer);
    if (rc != kErrorSuccess && rc != kErrorMoreData) break;
    if (!computer.empty()) computers->push_back(computer);
  }
}

RegKey OpenSection(Registry& registry, const char* section) {
  RegKey key = 0;
  if (registry.OpenKey(kCurrentUser, SectionPath(section).c_str(), kKeyRead, &key) != kErrorSuccess)
    return 0;
  return key;
}

RegKey CreateSection(Registry& registry, const char* section) {
  RegKey key = 0;
  if (registry.CreateKey(kCurrentUser, SectionPath(section).c_str(), &key) != kErrorSuccess)
    return 0;
  return key;
}

void WriteInteger(Registry& registry, RegKey key, const char* name, int value) {
  const auto bits = static_cast<std::uint32_t>(value);
  const std::uint8_t data[4] = {
      static_cast<std::uint8_t>(bits), static_cast<std::uint8_t>(bits >> 8),
      static_cast<std::uint8_t>(bits >> 16), static_cast<std::uint8_t>(bits >> 24)};
  registry.SetValue(key, name, kRegDword, data, sizeof data);
}

void WriteText(Registry& registry, RegKey key, const char* name, const std::string& text) {
  registry.SetValue(key, name, kRegSz, reinterpret_cast<const std::uint8_t*>(text.c_str()),
                    static_cast<std::uint32_t>(text.size() + 1));
}

}  // namespace

Settings& AppSettings() {
  static Settings settings;
  return settings;
}

void LoadSettings(Registry& registry, Settings& settings) {
  const Settings defaults;
  {
    const RegKey general = OpenSection(registry, kGeneralSection);
    KeyCloser closer(registry, general);
    for (const IntegerValue& value : kGeneralValues) {
      // A damaged value would otherwise be shown as no choice and saved back as such.
      const int read = ReadInteger(registry, general, value.name, defaults.*value.field);
      settings.*value.field = read >= 0 && read <= value.highest ? read : defaults.*value.field;
    }
  }
  const RegKey computers = OpenSection(registry, kComputersSection);
  KeyCloser closer(registry, computers);
  LoadComputers(registry, computers, &settings.computers);
}

void SaveSettings(Registry& registry, const Settings& settings) {
  if (const RegKey general = CreateSection(registry, kGeneralSection)) {
    KeyCloser closer(registry, general);
    for (const IntegerValue& value : kGeneralValues)
      WriteInteger(registry, general, value.name, settings.*value.field);
  }
  if (const RegKey computers = CreateSection(registry, kComputersSection)) {
    KeyCloser closer(registry, computers);
    const auto count = static_cast<std::int32_t>(settings.computers.size());
    WriteInteger(registry, computers, kCountValue, count);
    for (std::int32_t i = 1; i <= count; ++i)
      WriteText(registry, computers, ComputerValueName(i).c_str(), settings.computers[i - 1]);
  }
}

RegistryView SettingsView(int registry_view) {
  if (registry_view == 32) return RegistryView::k32;
  if (registry_view == 64) return RegistryView::k64;
  return kBuildView;
}

}  // namespace corvane
