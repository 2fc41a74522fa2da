// Registering and unregistering server files and records: every message, the results, the
// notification modes, and when the library is freed.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/settings.h"
#include "catalogue/object_kinds.h"
#include "catalogue/server_registration.h"
#include "platform/memory/memory_files.h"
#include "platform/memory/memory_modules.h"
#include "platform/memory/memory_registry.h"
#include "platform/memory/recording_notice.h"

namespace corvane {
namespace {

const std::string kServer = "C:\\Servers\\grid.ocx";
const std::string kPlain = "C:\\Servers\\plain.dll";
const std::string kMissing = "C:\\Servers\\missing.dll";
const long kEFail = static_cast<std::int32_t>(0x80004005u);

// Records, for every thing shown, how many libraries were loaded and whether the wait
// cursor was on at that moment.
class ObservingNotice : public RecordingNotice {
 public:
  explicit ObservingNotice(const MemoryModules& modules) : modules_(modules) {}
  void NotifyAction(const std::string& text, int mode) override {
    Observe();
    RecordingNotice::NotifyAction(text, mode);
  }
  void ShowUnregistered(const std::string& name, const std::string& path) override {
    Observe();
    RecordingNotice::ShowUnregistered(name, path);
  }
  void ShowMessageBox(const std::string& text) override {
    Observe();
    RecordingNotice::ShowMessageBox(text);
  }
  std::vector<std::size_t> loaded_when_shown;
  std::vector<int> cursor_when_shown;

 private:
  void Observe() {
    loaded_when_shown.push_back(modules_.LoadedCount());
    cursor_when_shown.push_back(cursor_depth);
  }
  const MemoryModules& modules_;
};

class ServerRegistrationTest : public ::testing::Test {
 protected:
  ServerRegistrationTest() : saved_(AppSettings()) {
    modules.AddModule(kServer, {{kRegisterEntry, Count(&register_calls, register_result)},
                                {kUnregisterEntry, Count(&unregister_calls, unregister_result)}});
    modules.AddModule(kPlain, {{"DllMain", [] { return 1L; }}});
  }
  ~ServerRegistrationTest() override { AppSettings() = saved_; }

  // An entry point that counts its calls and returns what the test sets.
  static MemoryModules::Export Count(int* calls, const long& result) {
    return [calls, &result] {
      ++*calls;
      return result;
    };
  }
  // The one thing shown: a notification with its text and mode.
  void ExpectOnlyNotification(const std::string& text, int mode) {
    ASSERT_EQ(notice.notifications.size(), 1u);
    EXPECT_EQ(notice.notifications[0].text, text);
    EXPECT_EQ(notice.notifications[0].mode, mode);
    EXPECT_TRUE(notice.unregistered.empty());
    EXPECT_TRUE(notice.messages.empty());
  }
  // Every library freed, the wait cursor shown once and ended, and the cursor on while
  // anything was shown.
  void ExpectCleanEnd() {
    EXPECT_EQ(modules.LoadedCount(), 0u);
    EXPECT_EQ(notice.cursor_shown, 1);
    EXPECT_EQ(notice.cursor_depth, 0);
    for (int depth : notice.cursor_when_shown) EXPECT_EQ(depth, 1);
  }

  Settings saved_;
  MemoryRegistry registry;
  MemoryFiles files;
  MemoryModules modules;
  ObservingNotice notice{modules};
  Platform platform{registry, files, modules, notice};
  int register_calls = 0, unregister_calls = 0;
  long register_result = 0, unregister_result = 0;
};

// Register and unregister of a file by path.

TEST_F(ServerRegistrationTest, RegisteringAFileThatDoesNotLoad) {
  AppSettings().after_register = 3;
  EXPECT_EQ(RegisterServerFile(platform, kMissing), 0);
  ExpectOnlyNotification("Failed to load " + kMissing + " in order to register it.", 0);
  ExpectCleanEnd();
}

TEST_F(ServerRegistrationTest, UnregisteringAFileThatDoesNotLoad) {
  AppSettings().after_unregister = 2;
  EXPECT_EQ(UnregisterServerFile(platform, kMissing), 0);
  ExpectOnlyNotification("Failed to load " + kMissing + " in order to unregister it.", 0);
  ExpectCleanEnd();
}

TEST_F(ServerRegistrationTest, MissingExportIsReportedThenTheLibraryIsFreed) {
  AppSettings().after_register = 3;
  AppSettings().after_unregister = 3;
  EXPECT_EQ(RegisterServerFile(platform, kPlain), 0);
  EXPECT_EQ(UnregisterServerFile(platform, kPlain), 0);
  ASSERT_EQ(notice.notifications.size(), 2u);
  EXPECT_EQ(notice.notifications[0].text,
            "Failed to find 'DllRegisterServer' function in " + kPlain);
  EXPECT_EQ(notice.notifications[1].text,
            "Failed to find 'DllUnregisterServer' function in " + kPlain);
  for (const auto& shown : notice.notifications) EXPECT_EQ(shown.mode, 0);
  EXPECT_EQ(notice.loaded_when_shown, (std::vector<std::size_t>{1, 1}));
  EXPECT_EQ(modules.LoadedCount(), 0u);
  EXPECT_EQ(notice.cursor_depth, 0);
}

TEST_F(ServerRegistrationTest, RegisteringCallsOnlyDllRegisterServerAndNotifies) {
  AppSettings().after_register = 1;
  AppSettings().after_unregister = 2;
  EXPECT_EQ(RegisterServerFile(platform, kServer), 1);
  EXPECT_EQ(register_calls, 1);
  EXPECT_EQ(unregister_calls, 0);
  ExpectOnlyNotification(kServer + "\n\nRegistered Successfully !", 1);
  EXPECT_EQ(notice.loaded_when_shown, std::vector<std::size_t>{1});
  ExpectCleanEnd();
}

TEST_F(ServerRegistrationTest, UnregisteringAFileCallsOnlyDllUnregisterServerAndNotifies) {
  AppSettings().after_register = 1;
  AppSettings().after_unregister = 0;
  EXPECT_EQ(UnregisterServerFile(platform, kServer), 1);
  EXPECT_EQ(unregister_calls, 1);
  EXPECT_EQ(register_calls, 0);
  // A file by path always gets the notification, never the unregistered dialog.
  ExpectOnlyNotification(kServer + "\n\nUnregistered Successfully !", 0);
  EXPECT_EQ(notice.loaded_when_shown, std::vector<std::size_t>{1});
  ExpectCleanEnd();
}

TEST_F(ServerRegistrationTest, EveryModeIsPassedThroughUnchanged) {
  for (int mode : {0, 1, 2, 3, -1, 4, 77}) {
    AppSettings().after_register = mode;
    AppSettings().after_unregister = mode;
    notice.notifications.clear();
    EXPECT_EQ(RegisterServerFile(platform, kServer), 1);
    EXPECT_EQ(UnregisterServerFile(platform, kServer), 1);
    ASSERT_EQ(notice.notifications.size(), 2u);
    EXPECT_EQ(notice.notifications[0].mode, mode);
    EXPECT_EQ(notice.notifications[1].mode, mode);
  }
  EXPECT_EQ(modules.LoadedCount(), 0u);
}

TEST_F(ServerRegistrationTest, AFailureCodeFromTheEntryPointIsNotReportedAsSuccess) {
  AppSettings().after_register = 3;
  AppSettings().after_unregister = 3;
  register_result = kEFail;
  unregister_result = static_cast<std::int32_t>(0x80040200u);
  EXPECT_EQ(RegisterServerFile(platform, kServer), 0);
  EXPECT_EQ(UnregisterServerFile(platform, kServer), 0);
  EXPECT_EQ(register_calls, 1);
  EXPECT_EQ(unregister_calls, 1);
  ASSERT_EQ(notice.notifications.size(), 2u);
  EXPECT_EQ(notice.notifications[0].text,
            "'DllRegisterServer' failed in " + kServer + " (error 0x80004005)");
  EXPECT_EQ(notice.notifications[1].text,
            "'DllUnregisterServer' failed in " + kServer + " (error 0x80040200)");
  for (const auto& shown : notice.notifications) EXPECT_EQ(shown.mode, 0);
  EXPECT_EQ(notice.loaded_when_shown, (std::vector<std::size_t>{1, 1}));
  EXPECT_EQ(modules.LoadedCount(), 0u);
}

TEST_F(ServerRegistrationTest, SuccessCodesOtherThanZeroCountAsSuccess) {
  AppSettings().after_register = 2;
  register_result = 1;  // S_FALSE
  EXPECT_EQ(RegisterServerFile(platform, kServer), 1);
  ExpectOnlyNotification(kServer + "\n\nRegistered Successfully !", 2);
  // A 32-bit failure code held in a wider long without its sign is still a failure.
  register_result = static_cast<long>(0x80004005u);
  EXPECT_EQ(RegisterServerFile(platform, kServer), 0);
}

// Unregister of a record.

class RegistrationUnregisterRecordTest : public ServerRegistrationTest {
 protected:
  std::unique_ptr<CRegisteredObject> Control(const std::string& server,
                                             const std::string& prog_id = "Grid.Control.1") {
    registry.SetString(kClassesRoot, "CLSID\\{C1}\\InprocServer32", "", server);
    if (!prog_id.empty()) registry.SetString(kClassesRoot, "CLSID\\{C1}\\ProgID", "", prog_id);
    registry.SetString(kClassesRoot, "CLSID\\{C1}\\Control", "", "");
    return std::make_unique<CControlObject>(platform, "{C1}");
  }
};

TEST_F(RegistrationUnregisterRecordTest, FileThatDoesNotLoadNamesTheRecord) {
  AppSettings().after_unregister = 3;
  EXPECT_EQ(Control(kMissing)->Unregister(), 0);
  ExpectOnlyNotification("Failed to load " + kMissing + " in order to Unregister Grid.Control.1",
                         0);
  ExpectCleanEnd();
}

TEST_F(RegistrationUnregisterRecordTest, MissingExportFreesTheLibraryBeforeTheMessage) {
  AppSettings().after_unregister = 3;
  EXPECT_EQ(Control(kPlain, "")->Unregister(), 0);
  ExpectOnlyNotification("Failed to find 'DllUnregisterServer' function in " + kPlain +
                             "\n\nCan't Unregister Unknown",
                         0);
  EXPECT_EQ(notice.loaded_when_shown, std::vector<std::size_t>{0});
  ExpectCleanEnd();
}

TEST_F(RegistrationUnregisterRecordTest, AtModeZeroTheUnregisteredDialogReplacesTheNotification) {
  AppSettings().after_unregister = 0;
  EXPECT_EQ(Control(kServer)->Unregister(), 1);
  EXPECT_EQ(unregister_calls, 1);
  EXPECT_EQ(register_calls, 0);
  EXPECT_TRUE(notice.notifications.empty());
  EXPECT_TRUE(notice.messages.empty());
  ASSERT_EQ(notice.unregistered.size(), 1u);
  EXPECT_EQ(notice.unregistered[0].name, "Grid.Control.1");
  EXPECT_EQ(notice.unregistered[0].path, kServer);
  // Freed before the dialog, which may delete the file.
  EXPECT_EQ(notice.loaded_when_shown, std::vector<std::size_t>{0});
  ExpectCleanEnd();
}

TEST_F(RegistrationUnregisterRecordTest, OtherModesGetTheNotificationAfterTheLibraryIsFreed) {
  auto record = Control(kServer);
  for (int mode : {1, 2, 3, -1, 9}) {
    AppSettings().after_unregister = mode;
    notice.notifications.clear();
    EXPECT_EQ(record->Unregister(), 1);
    ExpectOnlyNotification(kServer + "\n\nUnregistered Successfully !", mode);
    EXPECT_EQ(notice.loaded_when_shown.back(), 0u);
  }
  EXPECT_EQ(unregister_calls, 5);
  EXPECT_EQ(notice.cursor_depth, 0);
}

TEST_F(RegistrationUnregisterRecordTest, AFailureCodeKeepsTheRecordAndOffersNoDelete) {
  AppSettings().after_unregister = 0;
  unregister_result = kEFail;
  EXPECT_EQ(Control(kServer)->Unregister(), 0);
  EXPECT_TRUE(notice.unregistered.empty());
  ExpectOnlyNotification("'DllUnregisterServer' failed in " + kServer +
                             " (error 0x80004005)\n\nCan't Unregister Grid.Control.1",
                         0);
  EXPECT_EQ(notice.loaded_when_shown, std::vector<std::size_t>{0});
  ExpectCleanEnd();
}

TEST_F(RegistrationUnregisterRecordTest, ExeServersAreLoadedAsLibrariesByTheirDescription) {
  const std::string exe = "C:\\Servers\\app.exe";
  int calls = 0;
  long result = 0;
  modules.AddModule(exe, {{kUnregisterEntry, Count(&calls, result)}});
  registry.SetString(kClassesRoot, "CLSID\\{E1}", "", "Fixture Application");
  registry.SetString(kClassesRoot, "CLSID\\{E1}\\LocalServer32", "", exe);
  AppSettings().after_unregister = 0;
  CExeServerObject record(platform, "{E1}");
  EXPECT_EQ(record.Unregister(), 1);
  EXPECT_EQ(calls, 1);
  ASSERT_EQ(notice.unregistered.size(), 1u);
  EXPECT_EQ(notice.unregistered[0].name, "Fixture Application");
  EXPECT_EQ(notice.unregistered[0].path, exe);
  EXPECT_EQ(modules.LoadedCount(), 0u);
}

}  // namespace
}  // namespace corvane
