// Registering and unregistering the fixture servers that the build makes, on the real registry
// (HKEY_CLASSES_ROOT pointed at a scratch key) and with the real LoadLibraryA.
#include <gtest/gtest.h>

#include <string>

#include "app/settings.h"
#include "catalogue/object_kinds.h"
#include "catalogue/registry_access.h"
#include "catalogue/registry_scan.h"
#include "catalogue/server_registration.h"
#include "platform/text.h"
#include "tests/win32/scratch_classes.h"

namespace corvane {
namespace {

const char kClsid[] = "{6E3A1C52-8F0B-4D27-9B1E-2C7D5A40F913}";
const char kProgId[] = "CorvaneFixture.Control.1";
const char kTypeLibKey[] = "TypeLib\\{B94D07E1-3A62-4C8F-A5D3-71E0C2F8B6A4}";

bool FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsLoaded(const std::string& path) { return GetModuleHandleA(path.c_str()) != nullptr; }

// Calls an entry point of the fixture directly, past the code under test.
void CallEntry(const std::string& path, const char* entry) {
  HMODULE module = LoadLibraryA(path.c_str());
  if (module == nullptr) return;
  using Entry = HRESULT(STDAPICALLTYPE*)();
  auto call = reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(module, entry)));
  if (call != nullptr) call();
  FreeLibrary(module);
}

class RegistrationWine : public ::testing::Test {
 protected:
  RegistrationWine()
      : saved_(AppSettings()),
        control_(FixturePath("corvane_fixture_control.ocx")),
        plain_(FixturePath("corvane_fixture_plain.dll")),
        not_pe_(FixturePath("corvane_fixture_not_pe.dll")) {}
  // Runs before the scratch key goes, whatever the test left.
  ~RegistrationWine() override {
    CallEntry(control_, kUnregisterEntry);
    EXPECT_FALSE(classes_.Exists(std::string("CLSID\\") + kClsid));
    AppSettings() = saved_;
  }
  void SetUp() override {
    ASSERT_TRUE(FileExists(control_)) << control_;
    ASSERT_TRUE(FileExists(plain_)) << plain_;
    ASSERT_TRUE(FileExists(not_pe_)) << not_pe_;
  }

  std::string ClassValue(const std::string& subkey) {
    return ReadKeyValue(win32_.registry, kClassesRoot,
                        std::string("CLSID\\") + kClsid + (subkey.empty() ? "" : "\\" + subkey));
  }
  // Every key the fixture writes, by whether it is there.
  int FixtureKeysPresent() {
    int present = 0;
    const std::string clsid_key = std::string("CLSID\\") + kClsid;
    for (const std::string& key :
         {clsid_key, clsid_key + "\\InprocServer32", clsid_key + "\\ProgID",
          clsid_key + "\\Control", clsid_key + "\\TypeLib", clsid_key + "\\Version",
          std::string(kProgId), std::string(kProgId) + "\\CLSID", std::string(kTypeLibKey),
          std::string(kTypeLibKey) + "\\1.0"})
      present += classes_.Exists(key) ? 1 : 0;
    return present;
  }
  void Rescan() {
    lists_.Clear();
    ScanRegistry(win32_.platform, lists_);
  }
  // The fixture's record in one category of the last scan, or null.
  CRegisteredObject* Scanned(Category category) {
    for (const auto& record : lists_.list(category))
      if (record->clsid() == kClsid) return record.get();
    return nullptr;
  }
  void Register() {
    AppSettings().after_register = 3;
    ASSERT_EQ(RegisterServerFile(win32_.platform, control_), 1);
    ASSERT_EQ(FixtureKeysPresent(), 10);
    win32_.notice.notifications.clear();
  }

  Settings saved_;
  ScratchClasses classes_;
  Win32Platform win32_;
  CObjectLists lists_;
  std::string control_, plain_, not_pe_;
};

TEST_F(RegistrationWine, RegisteredControlIsScannedAsAControlWithItsPath) {
  AppSettings().after_register = 1;
  EXPECT_EQ(FixtureKeysPresent(), 0);
  EXPECT_EQ(RegisterServerFile(win32_.platform, control_), 1);
  ASSERT_EQ(win32_.notice.notifications.size(), 1u);
  EXPECT_EQ(win32_.notice.notifications[0].text, control_ + "\n\nRegistered Successfully !");
  EXPECT_EQ(win32_.notice.notifications[0].mode, 1);
  EXPECT_FALSE(IsLoaded(control_));

  EXPECT_EQ(FixtureKeysPresent(), 10);
  EXPECT_TRUE(EqualsNoCase(ClassValue("InprocServer32"), control_)) << ClassValue("InprocServer32");
  EXPECT_EQ(ClassValue("ProgID"), kProgId);
  EXPECT_EQ(ClassValue("Version"), "1.0");

  Rescan();
  const CRegisteredObject* control = Scanned(kControls);
  ASSERT_NE(control, nullptr);
  EXPECT_TRUE(EqualsNoCase(control->GetFilePath(), control_)) << control->GetFilePath();
  EXPECT_EQ(control->exists(), 1);
  EXPECT_EQ(control->GetName(), kProgId);
  EXPECT_EQ(control->GetTypeLibName(), "Corvane Fixture Control Library");
  EXPECT_EQ(Scanned(kExeServers), nullptr);
  // An .ocx server is not a DLL server by the suffix rule.
  EXPECT_EQ(Scanned(kDllServers), nullptr);
}

TEST_F(RegistrationWine, UnregisteringTheFileRemovesEveryKeyItWrote) {
  ASSERT_NO_FATAL_FAILURE(Register());
  AppSettings().after_unregister = 2;
  EXPECT_EQ(UnregisterServerFile(win32_.platform, control_), 1);
  ASSERT_EQ(win32_.notice.notifications.size(), 1u);
  EXPECT_EQ(win32_.notice.notifications[0].text, control_ + "\n\nUnregistered Successfully !");
  EXPECT_EQ(win32_.notice.notifications[0].mode, 2);
  EXPECT_EQ(FixtureKeysPresent(), 0);
  Rescan();
  EXPECT_EQ(Scanned(kControls), nullptr);
  EXPECT_FALSE(IsLoaded(control_));
}

TEST_F(RegistrationWine, FilesWithoutTheExportsOrNotLoadableAreReported) {
  AppSettings().after_register = 3;
  AppSettings().after_unregister = 3;
  const std::string missing = FixturePath("corvane_fixture_missing.dll");
  EXPECT_EQ(RegisterServerFile(win32_.platform, plain_), 0);
  EXPECT_EQ(UnregisterServerFile(win32_.platform, plain_), 0);
  EXPECT_EQ(RegisterServerFile(win32_.platform, not_pe_), 0);
  EXPECT_EQ(UnregisterServerFile(win32_.platform, missing), 0);
  const auto& shown = win32_.notice.notifications;
  ASSERT_EQ(shown.size(), 4u);
  EXPECT_EQ(shown[0].text, "Failed to find 'DllRegisterServer' function in " + plain_);
  EXPECT_EQ(shown[1].text, "Failed to find 'DllUnregisterServer' function in " + plain_);
  EXPECT_EQ(shown[2].text, "Failed to load " + not_pe_ + " in order to register it.");
  EXPECT_EQ(shown[3].text, "Failed to load " + missing + " in order to unregister it.");
  for (const auto& notification : shown) EXPECT_EQ(notification.mode, 0);
  EXPECT_FALSE(IsLoaded(plain_));
  EXPECT_EQ(win32_.notice.cursor_depth, 0);
}

TEST_F(RegistrationWine, UnregisterOfTheScannedRecordAtModeThreeShowsNoDialog) {
  ASSERT_NO_FATAL_FAILURE(Register());
  Rescan();
  CRegisteredObject* scanned = Scanned(kControls);
  ASSERT_NE(scanned, nullptr);
  AppSettings().after_unregister = 3;
  EXPECT_EQ(scanned->Unregister(), 1);
  ASSERT_EQ(win32_.notice.notifications.size(), 1u);
  EXPECT_EQ(win32_.notice.notifications[0].mode, 3);
  EXPECT_TRUE(win32_.notice.unregistered.empty());
  EXPECT_TRUE(win32_.notice.messages.empty());
  EXPECT_EQ(FixtureKeysPresent(), 0);
  EXPECT_FALSE(IsLoaded(control_));
}

TEST_F(RegistrationWine, UnregisterOfTheScannedRecordAtModeZeroAsksForTheDialog) {
  ASSERT_NO_FATAL_FAILURE(Register());
  Rescan();
  CRegisteredObject* scanned = Scanned(kControls);
  ASSERT_NE(scanned, nullptr);
  const std::string path = scanned->GetFilePath();
  AppSettings().after_unregister = 0;
  EXPECT_EQ(scanned->Unregister(), 1);
  EXPECT_TRUE(win32_.notice.notifications.empty());
  ASSERT_EQ(win32_.notice.unregistered.size(), 1u);
  EXPECT_EQ(win32_.notice.unregistered[0].name, kProgId);
  EXPECT_EQ(win32_.notice.unregistered[0].path, path);
  EXPECT_EQ(FixtureKeysPresent(), 0);
  EXPECT_FALSE(IsLoaded(control_));
}

}  // namespace
}  // namespace corvane
