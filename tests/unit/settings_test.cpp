// Settings below HKEY_CURRENT_USER: defaults, the computer list's numbering, values of the
// wrong shape, and silent write failures.
#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/settings.h"
#include "platform/memory/memory_registry.h"

namespace corvane {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Names = std::vector<std::string>;

const std::string kGeneral = "Software\\Tessaline\\Corvane\\General";
const std::string kComputers = "Software\\Tessaline\\Corvane\\Computers";

Bytes Dword(std::uint32_t value) {
  return {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
          static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
}

// Logs the value names queried and set, and refuses writes of chosen names.
class LoggingRegistry : public MemoryRegistry {
 public:
  long QueryValue(RegKey key, const char* name, std::uint32_t* type, std::uint8_t* data,
                  std::uint32_t* size) override {
    queried.push_back(name ? name : "");
    // A load that reads names without end fails here rather than hanging the test.
    if (queried.size() > 10000) throw std::runtime_error("thousands of values read");
    return MemoryRegistry::QueryValue(key, name, type, data, size);
  }
  long SetValue(RegKey key, const char* name, std::uint32_t type, const std::uint8_t* data,
                std::uint32_t size) override {
    if (refused_writes.count(name)) return kErrorAccessDenied;
    written.push_back(name);
    return MemoryRegistry::SetValue(key, name, type, data, size);
  }
  Names queried;
  Names written;
  std::set<std::string> refused_writes;
};

class SettingsTest : public ::testing::Test {
 protected:
  void SetDword(const std::string& path, const std::string& name, std::uint32_t value) {
    registry.SetBytes(kCurrentUser, path, name, kRegDword, Dword(value));
  }
  // The stored type and bytes of a value; type kRegNone when there is none.
  std::pair<std::uint32_t, Bytes> Stored(const std::string& path, const std::string& name) {
    RegKey key = 0;
    if (registry.OpenKey(kCurrentUser, path.c_str(), kKeyRead, &key) != kErrorSuccess) return {};
    std::uint8_t data[64];
    std::uint32_t type = 0;
    std::uint32_t size = sizeof data;
    long rc = registry.QueryValue(key, name.c_str(), &type, data, &size);
    registry.CloseKey(key);
    if (rc != kErrorSuccess) return {};
    return {type, Bytes(data, data + size)};
  }
  Settings Loaded() {
    Settings settings;
    LoadSettings(registry, settings);
    return settings;
  }

  LoggingRegistry registry;
};

Bytes Sz(const std::string& text) {
  Bytes bytes(text.begin(), text.end());
  bytes.push_back(0);
  return bytes;
}

TEST_F(SettingsTest, FreshUserGetsDefaults) {
  Settings settings;
  settings.display_missing = 0;
  settings.display_in_list = 3;
  settings.after_remove = 2;
  settings.computers = {"OLD"};
  LoadSettings(registry, settings);
  EXPECT_EQ(settings.display_missing, 1);
  EXPECT_EQ(settings.display_installed, 1);
  EXPECT_EQ(settings.display_in_list, 0);
  EXPECT_EQ(settings.after_register, 0);
  EXPECT_EQ(settings.after_unregister, 0);
  EXPECT_EQ(settings.after_remove, 0);
  EXPECT_TRUE(settings.computers.empty());
  EXPECT_FALSE(registry.KeyExists(kCurrentUser, "Software\\Tessaline"));
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST_F(SettingsTest, LoadsStoredValuesInOrder) {
  SetDword(kGeneral, "DISPLAYMISSING", 0);
  SetDword(kGeneral, "DisplayInstalled", 0);
  SetDword(kGeneral, "DisplayInList", 2);
  SetDword(kGeneral, "AfterRegister", 1);
  SetDword(kGeneral, "AfterUnregister", 3);
  SetDword(kGeneral, "AfterRemove", 2);
  SetDword(kComputers, "Count", 3);
  registry.SetString(kCurrentUser, kComputers, "Computer3", "ALPHA");
  registry.SetString(kCurrentUser, kComputers, "Computer1", "BETA");
  registry.SetString(kCurrentUser, kComputers, "computer2", "BETA");
  Settings settings = Loaded();
  EXPECT_EQ(settings.display_missing, 0);
  EXPECT_EQ(settings.display_installed, 0);
  EXPECT_EQ(settings.display_in_list, 2);
  EXPECT_EQ(settings.after_register, 1);
  EXPECT_EQ(settings.after_unregister, 3);
  EXPECT_EQ(settings.after_remove, 2);
  EXPECT_EQ(settings.computers, (Names{"BETA", "BETA", "ALPHA"}));
  EXPECT_EQ(registry.queried, (Names{"DisplayMissing", "DisplayInstalled", "DisplayInList",
                                     "AfterRegister", "AfterUnregister", "AfterRemove",
                                     "RegistryView", "Count", "Computer1", "Computer2",
                                     "Computer3"}));
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST_F(SettingsTest, EmptyNameIsDroppedAndNextSaveRenumbers) {
  SetDword(kComputers, "Count", 3);
  registry.SetString(kCurrentUser, kComputers, "Computer1", "ONE");
  registry.SetString(kCurrentUser, kComputers, "Computer2", "");
  registry.SetString(kCurrentUser, kComputers, "Computer3", "THREE");
  Settings settings = Loaded();
  ASSERT_EQ(settings.computers, (Names{"ONE", "THREE"}));

  SaveSettings(registry, settings);
  EXPECT_EQ(Stored(kComputers, "Count"), std::make_pair(kRegDword, Dword(2)));
  EXPECT_EQ(Stored(kComputers, "Computer1"), std::make_pair(kRegSz, Sz("ONE")));
  EXPECT_EQ(Stored(kComputers, "Computer2"), std::make_pair(kRegSz, Sz("THREE")));
  EXPECT_EQ(Stored(kComputers, "Computer3"), std::make_pair(kRegSz, Sz("THREE")));
  EXPECT_EQ(Loaded().computers, (Names{"ONE", "THREE"}));
}

TEST_F(SettingsTest, CountBoundsTheNamesRead) {
  registry.SetString(kCurrentUser, kComputers, "Computer1", "ONE");
  registry.SetString(kCurrentUser, kComputers, "Computer2", "TWO");
  EXPECT_TRUE(Loaded().computers.empty()) << "no Count";
  SetDword(kComputers, "Count", 0);
  EXPECT_TRUE(Loaded().computers.empty());
  SetDword(kComputers, "Count", 0xFFFFFFFF);
  EXPECT_TRUE(Loaded().computers.empty());
  SetDword(kComputers, "Count", 0x80000000);
  EXPECT_TRUE(Loaded().computers.empty());
  SetDword(kComputers, "Count", 1);
  EXPECT_EQ(Loaded().computers, (Names{"ONE"}));
}

TEST_F(SettingsTest, HugeCountOrStrayHighNumbersReadOnlyWhatIsStored) {
  SetDword(kComputers, "Count", 0x7FFFFFFF);
  registry.SetString(kCurrentUser, kComputers, "Computer2147483647", "LAST");
  registry.SetString(kCurrentUser, kComputers, "Computer1", "ONE");
  registry.SetString(kCurrentUser, kComputers, "Computer10000000", "MIDDLE");
  registry.SetString(kCurrentUser, kComputers, "Computer4", "FOUR");
  registry.SetString(kCurrentUser, kComputers, "Computer04", "NOT MINE");
  registry.SetString(kCurrentUser, kComputers, "Computer99999999999", "NOT MINE");
  registry.SetString(kCurrentUser, kComputers, "Computerx5", "NOT MINE");
  EXPECT_EQ(Loaded().computers, (Names{"ONE", "FOUR", "MIDDLE", "LAST"}));
  EXPECT_LT(registry.queried.size(), 20u);
  SetDword(kComputers, "Count", 5);
  EXPECT_EQ(Loaded().computers, (Names{"ONE", "FOUR"}));
}

TEST_F(SettingsTest, NamesThatCannotBeListedAreReadWhileThereAreMore) {
  SetDword(kComputers, "Count", 0x7FFFFFFF);
  registry.SetString(kCurrentUser, kComputers, "Computer1", "ONE");
  registry.SetString(kCurrentUser, kComputers, "Computer2", "");
  registry.SetString(kCurrentUser, kComputers, "Computer3", "THREE");
  registry.SetString(kCurrentUser, kComputers, "Computer5", "AFTER A GAP");
  registry.FailEnumValueAt("HKEY_CURRENT_USER\\" + kComputers, 1, kErrorAccessDenied);
  EXPECT_EQ(Loaded().computers, (Names{"ONE", "THREE"}));
  EXPECT_LT(registry.queried.size(), 20u);
  SetDword(kComputers, "Count", 2);
  EXPECT_EQ(Loaded().computers, (Names{"ONE"}));
}

TEST_F(SettingsTest, IntegersOfTheWrongShapeReadAsDefaults) {
  registry.SetString(kCurrentUser, kGeneral, "DisplayMissing", "0");
  registry.SetBytes(kCurrentUser, kGeneral, "DisplayInstalled", kRegBinary, Dword(0));
  registry.SetBytes(kCurrentUser, kGeneral, "DisplayInList", kRegDword, {2, 0});
  registry.SetBytes(kCurrentUser, kGeneral, "AfterRegister", kRegDword, {1, 0, 0, 0, 0, 0, 0, 0});
  registry.SetBytes(kCurrentUser, kGeneral, "AfterUnregister", 5, {0, 0, 0, 2});
  registry.SetBytes(kCurrentUser, kGeneral, "AfterRemove", kRegDword, {});
  registry.SetString(kCurrentUser, kComputers, "Count", "2");
  registry.SetString(kCurrentUser, kComputers, "Computer1", "ONE");
  const Settings settings = Loaded();
  const Settings defaults;
  EXPECT_EQ(settings.display_missing, defaults.display_missing);
  EXPECT_EQ(settings.display_installed, defaults.display_installed);
  EXPECT_EQ(settings.display_in_list, defaults.display_in_list);
  EXPECT_EQ(settings.after_register, defaults.after_register);
  EXPECT_EQ(settings.after_unregister, defaults.after_unregister);
  EXPECT_EQ(settings.after_remove, defaults.after_remove);
  EXPECT_TRUE(settings.computers.empty());
}

TEST_F(SettingsTest, NumbersOutsideTheirRangeReadAsDefaults) {
  SetDword(kGeneral, "DisplayMissing", 5);
  SetDword(kGeneral, "DisplayInstalled", 0);
  SetDword(kGeneral, "DisplayInList", 99);
  SetDword(kGeneral, "AfterRegister", 0xFFFFFFFF);
  SetDword(kGeneral, "AfterUnregister", 3);
  SetDword(kGeneral, "AfterRemove", 4);
  const Settings settings = Loaded();
  EXPECT_EQ(settings.display_missing, 1);
  EXPECT_EQ(settings.display_installed, 0);
  EXPECT_EQ(settings.display_in_list, 0);
  EXPECT_EQ(settings.after_register, 0);
  EXPECT_EQ(settings.after_unregister, 3);
  EXPECT_EQ(settings.after_remove, 0);
}

TEST_F(SettingsTest, NamesOfTheWrongShapeAreSkipped) {
  SetDword(kComputers, "Count", 7);
  registry.SetBytes(kCurrentUser, kComputers, "Computer1", kRegDword, Dword(5));
  registry.SetString(kCurrentUser, kComputers, "Computer2", "%HOST%", kRegExpandSz);
  registry.SetBytes(kCurrentUser, kComputers, "Computer3", kRegSz, {'N', 'O', 'N', 'U', 'L'});
  registry.SetBytes(kCurrentUser, kComputers, "Computer4", kRegSz, {'A', 0, 'B', 0});
  registry.SetString(kCurrentUser, kComputers, "Computer5", std::string(1023, 'L'));
  registry.SetString(kCurrentUser, kComputers, "Computer6", std::string(1022, 'K'));
  registry.SetBytes(kCurrentUser, kComputers, "Computer7", kRegSz, Bytes(1023, 'M'));
  EXPECT_EQ(Loaded().computers,
            (Names{"NONUL", "A", std::string(1022, 'K'), std::string(1023, 'M')}));
}

TEST_F(SettingsTest, UnreadableValuesTakeTheirDefaults) {
  SetDword(kGeneral, "DisplayMissing", 0);
  SetDword(kGeneral, "DisplayInList", 3);
  SetDword(kComputers, "Count", 2);
  registry.SetString(kCurrentUser, kComputers, "Computer1", "ONE");
  registry.SetString(kCurrentUser, kComputers, "Computer2", "TWO");
  registry.FailQueryValue("HKEY_CURRENT_USER\\" + kGeneral, "DisplayMissing", kErrorAccessDenied);
  registry.FailQueryValue("HKEY_CURRENT_USER\\" + kComputers, "Computer1");
  Settings settings = Loaded();
  EXPECT_EQ(settings.display_missing, 1);
  EXPECT_EQ(settings.display_in_list, 3);
  EXPECT_EQ(settings.computers, (Names{"TWO"}));

  registry.RefuseOpen("HKEY_CURRENT_USER\\" + kGeneral);
  registry.RefuseOpen("HKEY_CURRENT_USER\\" + kComputers);
  settings = Loaded();
  EXPECT_EQ(settings.display_in_list, 0);
  EXPECT_TRUE(settings.computers.empty());
}

TEST_F(SettingsTest, SaveWritesTypedValuesInOrder) {
  Settings settings;
  settings.display_missing = 0;
  settings.display_in_list = -1;
  settings.after_unregister = 2;
  settings.computers = {"ALPHA", "BETA"};
  SaveSettings(registry, settings);
  EXPECT_EQ(registry.written,
            (Names{"DisplayMissing", "DisplayInstalled", "DisplayInList", "AfterRegister",
                   "AfterUnregister", "AfterRemove", "RegistryView", "Count", "Computer1",
                   "Computer2"}));
  EXPECT_EQ(Stored(kGeneral, "DisplayMissing"), std::make_pair(kRegDword, Dword(0)));
  EXPECT_EQ(Stored(kGeneral, "DisplayInstalled"), std::make_pair(kRegDword, Dword(1)));
  EXPECT_EQ(Stored(kGeneral, "DisplayInList"), std::make_pair(kRegDword, Dword(0xFFFFFFFF)));
  EXPECT_EQ(Stored(kGeneral, "AfterUnregister"), std::make_pair(kRegDword, Dword(2)));
  EXPECT_EQ(Stored(kComputers, "Count"), std::make_pair(kRegDword, Dword(2)));
  EXPECT_EQ(Stored(kComputers, "Computer2"), std::make_pair(kRegSz, Sz("BETA")));
  EXPECT_EQ(registry.OpenHandleCount(), 0u);

  Settings loaded = Loaded();
  EXPECT_EQ(loaded.display_missing, 0);
  EXPECT_EQ(loaded.display_in_list, 0);  // -1 is no choice: the default label
  EXPECT_EQ(loaded.after_unregister, 2);
  EXPECT_EQ(loaded.computers, settings.computers);
}

TEST_F(SettingsTest, EmptyListSavesCountZeroAndKeepsOldNames) {
  registry.SetString(kCurrentUser, kComputers, "Computer1", "OLD");
  SaveSettings(registry, Settings());
  EXPECT_EQ(Stored(kComputers, "Count"), std::make_pair(kRegDword, Dword(0)));
  EXPECT_EQ(Stored(kComputers, "Computer1"), std::make_pair(kRegSz, Sz("OLD")));
  EXPECT_TRUE(Loaded().computers.empty());
}

TEST_F(SettingsTest, WriteFailuresAreSilentAndLoseOnlyTheirValue) {
  Settings settings;
  settings.display_installed = 0;
  settings.after_remove = 3;
  settings.computers = {"ONE", "TWO"};
  registry.refused_writes = {"DisplayInstalled", "Computer1"};
  SaveSettings(registry, settings);
  Settings loaded = Loaded();
  EXPECT_EQ(loaded.display_installed, 1);
  EXPECT_EQ(loaded.after_remove, 3);
  EXPECT_EQ(loaded.computers, (Names{"TWO"}));

  registry.refused_writes.clear();
  registry.RefuseOpen("HKEY_CURRENT_USER\\" + kGeneral);
  settings.computers = {"THREE"};
  SaveSettings(registry, settings);
  EXPECT_EQ(Stored(kComputers, "Computer1"), std::make_pair(kRegSz, Sz("THREE")));
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST(AppSettings, IsOneProcessWideObjectWithDefaults) {
  Settings& settings = AppSettings();
  EXPECT_EQ(&settings, &AppSettings());
  EXPECT_EQ(settings.display_missing, 1);
  EXPECT_EQ(settings.display_installed, 1);
  EXPECT_TRUE(settings.computers.empty());
}

}  // namespace
}  // namespace corvane
