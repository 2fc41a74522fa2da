// Settings saved and loaded through the Win32 registry seam, with HKEY_CURRENT_USER pointed at
// a scratch key so that the user's own settings are never touched.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/settings.h"
#include "platform/win32/win32_registry.h"
#include "tests/win32/scratch_classes.h"

namespace {

using Names = std::vector<std::string>;

const char kScratch[] = "Software\\CorvaneSettingsTest";
const char kCorvane[] = "Software\\Tessaline\\Corvane";
const char kComputers[] = "Software\\Tessaline\\Corvane\\Computers";

using corvane::RegistryKeyExists;

// HKEY_CURRENT_USER of this process is an empty scratch key while the test runs.
class SettingsOnWine : public ::testing::Test {
 protected:
  void SetUp() override {
    real_settings_existed_ = RegistryKeyExists(HKEY_CURRENT_USER, kCorvane);
    redirect_.emplace(HKEY_CURRENT_USER, kScratch, kScratch);
    ASSERT_FALSE(HasFailure());
  }
  void TearDown() override {
    redirect_.reset();
    EXPECT_EQ(RegistryKeyExists(HKEY_CURRENT_USER, kCorvane), real_settings_existed_);
  }

  void Set(const char* path, const char* name, DWORD type, const void* data, DWORD size) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                              nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
  }
  void SetDword(const char* path, const char* name, DWORD value) {
    Set(path, name, REG_DWORD, &value, sizeof value);
  }
  void SetText(const char* path, const char* name, const std::string& text) {
    Set(path, name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
  }
  // The stored type and bytes of a value below the scratch HKEY_CURRENT_USER.
  std::pair<DWORD, std::string> Stored(const std::string& path, const char* name) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
      return {REG_NONE, ""};
    char data[256];
    DWORD type = REG_NONE;
    DWORD size = sizeof data;
    LONG rc = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS) return {REG_NONE, ""};
    return {type, std::string(data, size)};
  }
  corvane::Settings Loaded() {
    corvane::Settings settings;
    corvane::LoadSettings(registry_, settings);
    return settings;
  }

  corvane::Win32Registry registry_;

 private:
  std::optional<corvane::ScratchRedirect> redirect_;
  bool real_settings_existed_ = false;
};

std::string Dword(DWORD value) { return std::string(reinterpret_cast<const char*>(&value), 4); }

TEST_F(SettingsOnWine, FreshUserReadsDefaults) {
  corvane::Settings settings = Loaded();
  EXPECT_EQ(settings.display_missing, 1);
  EXPECT_EQ(settings.display_installed, 1);
  EXPECT_EQ(settings.display_in_list, 0);
  EXPECT_EQ(settings.after_register, 0);
  EXPECT_EQ(settings.after_unregister, 0);
  EXPECT_EQ(settings.after_remove, 0);
  EXPECT_TRUE(settings.computers.empty());
  EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, "Software\\Tessaline"));
}

TEST_F(SettingsOnWine, SavedValuesHaveTheirTypesAndLoadBack) {
  corvane::Settings settings;
  settings.display_missing = 0;
  settings.display_installed = 1;
  settings.display_in_list = -1;
  settings.after_register = 1;
  settings.after_unregister = 2;
  settings.after_remove = 3;
  settings.computers = {"ALPHA", "beta", "ALPHA"};
  corvane::SaveSettings(registry_, settings);

  const std::string general = std::string(kCorvane) + "\\General";
  EXPECT_EQ(Stored(general, "DisplayMissing"), std::make_pair(DWORD{REG_DWORD}, Dword(0)));
  EXPECT_EQ(Stored(general, "DisplayInstalled"), std::make_pair(DWORD{REG_DWORD}, Dword(1)));
  EXPECT_EQ(Stored(general, "DisplayInList"), std::make_pair(DWORD{REG_DWORD}, Dword(0xFFFFFFFF)));
  EXPECT_EQ(Stored(general, "AfterRegister"), std::make_pair(DWORD{REG_DWORD}, Dword(1)));
  EXPECT_EQ(Stored(general, "AfterUnregister"), std::make_pair(DWORD{REG_DWORD}, Dword(2)));
  EXPECT_EQ(Stored(general, "AfterRemove"), std::make_pair(DWORD{REG_DWORD}, Dword(3)));
  EXPECT_EQ(Stored(kComputers, "Count"), std::make_pair(DWORD{REG_DWORD}, Dword(3)));
  EXPECT_EQ(Stored(kComputers, "Computer2"), std::make_pair(DWORD{REG_SZ}, std::string("beta", 5)));

  corvane::Settings loaded = Loaded();
  EXPECT_EQ(loaded.display_missing, 0);
  EXPECT_EQ(loaded.display_installed, 1);
  EXPECT_EQ(loaded.display_in_list, corvane::Settings().display_in_list);  // out of range
  EXPECT_EQ(loaded.after_register, 1);
  EXPECT_EQ(loaded.after_unregister, 2);
  EXPECT_EQ(loaded.after_remove, 3);
  EXPECT_EQ(loaded.computers, settings.computers);
}

TEST_F(SettingsOnWine, ShorterListKeepsOldNamesBehindCount) {
  SetDword(kComputers, "Count", 3);
  SetText(kComputers, "Computer1", "ONE");
  SetText(kComputers, "Computer2", "");
  SetText(kComputers, "Computer3", "THREE");
  corvane::Settings settings = Loaded();
  ASSERT_EQ(settings.computers, (Names{"ONE", "THREE"}));
  corvane::SaveSettings(registry_, settings);
  EXPECT_EQ(Stored(kComputers, "Count"), std::make_pair(DWORD{REG_DWORD}, Dword(2)));
  EXPECT_EQ(Stored(kComputers, "Computer2").second, std::string("THREE", 6));
  EXPECT_EQ(Stored(kComputers, "Computer3").second, std::string("THREE", 6));
  EXPECT_EQ(Loaded().computers, (Names{"ONE", "THREE"}));
}

TEST_F(SettingsOnWine, OddValuesReadSafely) {
  SetDword(kComputers, "Count", 0x7FFFFFFF);
  SetText(kComputers, "Computer1", std::string(2000, 'X'));
  Set(kComputers, "Computer2", REG_SZ, "HOST", 4);
  Set(kComputers, "Computer3", REG_EXPAND_SZ, "%HOST%", 7);
  SetText(kComputers, "Computer9", "NINE");
  const WORD half = 0;
  Set((std::string(kCorvane) + "\\General").c_str(), "DisplayMissing", REG_DWORD, &half, 2);
  SetText((std::string(kCorvane) + "\\General").c_str(), "DisplayInstalled", "0");
  corvane::Settings settings = Loaded();
  EXPECT_EQ(settings.computers, (Names{"HOST", "NINE"}));
  EXPECT_EQ(settings.display_missing, 1);
  EXPECT_EQ(settings.display_installed, 1);
}

}  // namespace
