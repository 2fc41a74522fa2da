// Removing a class from the registry: the keys, the log and summary, the AppID question, the
// guards against deleting what the class does not own, and the backup written first.
#include <gtest/gtest.h>

#include "app/settings.h"
#include "catalogue/object_kinds.h"
#include "catalogue/registry_backup.h"
#include "tests/unit/memory_platform.h"

namespace corvane {
namespace {

const char kA[] = "{AAAAAAAA-0000-0000-0000-000000000001}";
const char kB[] = "{BBBBBBBB-0000-0000-0000-000000000002}";
const char kLib[] = "{11111111-2222-3333-4444-555555555555}";
const char kHeader[] = "------------------------------------------\n";
const char kBackupFolder[] = "C:\\Users\\tester\\Application Data\\Tessaline\\Corvane\\Backup\\";

std::string Summary(const std::string& name, const std::string& lines) {
  return name + " was successfully removed from the Registry.\n\nThe following keys were deleted:\n" +
         kHeader + lines;
}

class ClassRemovalTest : public ::testing::Test {
 protected:
  ClassRemovalTest() : saved_(AppSettings()) { AppSettings().after_remove = 0; }
  ~ClassRemovalTest() override { AppSettings() = saved_; }

  // A control with a versioned ProgID that points back at it and a type library.
  void AddFullControl(const char* clsid, const std::string& prog_id) {
    m.AddClass(clsid, "InprocServer32", "C:\\Gone\\grid.ocx");
    m.AddClass(clsid, "ProgID", prog_id);
    m.AddClass(clsid, "TypeLib", kLib);
    m.registry.AddKey(kClassesRoot, std::string("CLSID\\") + clsid + "\\Control");
    m.registry.SetString(kClassesRoot, prog_id + "\\CLSID", "", clsid);
    m.registry.SetString(kClassesRoot, std::string("TypeLib\\") + kLib + "\\1.0", "", "Grid Lib");
  }
  bool Exists(const std::string& path) { return m.registry.KeyExists(kClassesRoot, path); }
  // The one backup file written.
  std::string OnlyBackup() {
    std::vector<std::string> written;
    for (const std::string& path : m.files.Paths())
      if (path.size() > 4 && path.substr(path.size() - 4) == ".reg") written.push_back(path);
    EXPECT_EQ(written.size(), 1u);
    return written.empty() ? std::string() : m.files.Contents(written[0]);
  }

  MemoryPlatform m;
  Settings saved_;
};

TEST_F(ClassRemovalTest, ControlLosesProgIdTypeLibAndClsidInOrderWithBackupFirst) {
  AddFullControl(kA, "Grid.Control.1");
  m.registry.SetString(kClassesRoot, "Grid.Control", "", "other ProgID of the class");
  CControlObject control(m.platform, kA);
  std::string log = "ignored";
  EXPECT_EQ(control.RemoveFromRegistry(log), 1);
  EXPECT_FALSE(Exists("Grid.Control.1"));
  EXPECT_FALSE(Exists(std::string("TypeLib\\") + kLib));
  EXPECT_FALSE(Exists(std::string("CLSID\\") + kA));
  EXPECT_TRUE(Exists("Grid.Control"));  // only the ProgID stored under the class goes
  const std::string lines = std::string("ProgID: Grid.Control.1\nTypeLib: ") + kLib + "\nCLSID: " + kA + "\n";
  EXPECT_EQ(log, kHeader + lines);
  ASSERT_EQ(m.notice.notifications.size(), 1u);
  EXPECT_EQ(m.notice.notifications[0].text, Summary("Grid.Control.1", lines));
  EXPECT_EQ(m.notice.notifications[0].mode, 0);
  EXPECT_TRUE(m.notice.questions.empty());
  EXPECT_EQ(control.backup_path().rfind(kBackupFolder, 0), 0u);
  EXPECT_NE(control.backup_path().find(kA), std::string::npos);
  const std::string backup = OnlyBackup();
  EXPECT_EQ(backup.rfind("REGEDIT4\r\n\r\n[HKEY_CLASSES_ROOT\\Grid.Control.1]\r\n", 0), 0u);
  EXPECT_NE(backup.find(std::string("[HKEY_CLASSES_ROOT\\TypeLib\\") + kLib + "\\1.0]\r\n@=\"Grid Lib\"\r\n"),
            std::string::npos);
  EXPECT_NE(backup.find(std::string("[HKEY_CLASSES_ROOT\\CLSID\\") + kA + "\\Control]\r\n"),
            std::string::npos);
  EXPECT_EQ(m.registry.OpenHandleCount(), 0u);
}

TEST_F(ClassRemovalTest, WithoutProgIdOrTypeLibOnlyTheClsidIsListedAndModeIsPassedOn) {
  AppSettings().after_remove = 3;
  m.AddClass(kA, "InprocServer32", "C:\\Gone\\x.dll");
  CDllServerObject server(m.platform, kA);
  std::string log;
  EXPECT_EQ(server.RemoveFromRegistry(log), 1);
  EXPECT_FALSE(Exists(std::string("CLSID\\") + kA));
  ASSERT_EQ(m.notice.notifications.size(), 1u);
  EXPECT_EQ(m.notice.notifications[0].text, Summary("Unknown", std::string("CLSID: ") + kA + "\n"));
  EXPECT_EQ(m.notice.notifications[0].mode, 3);
}

TEST_F(ClassRemovalTest, SharedTypeLibraryGoesForBothClasses) {
  AddFullControl(kA, "Grid.Control.1");
  AddFullControl(kB, "Grid.Other.1");
  CControlObject control(m.platform, kA);
  std::string log;
  control.RemoveFromRegistry(log);
  EXPECT_FALSE(Exists(std::string("TypeLib\\") + kLib));
  EXPECT_TRUE(Exists(std::string("CLSID\\") + kB + "\\TypeLib"));
  EXPECT_TRUE(Exists("Grid.Other.1"));
}

class ExeRemovalTest : public ClassRemovalTest {
 protected:
  void AddExe(bool with_app_id) {
    m.registry.SetString(kClassesRoot, std::string("CLSID\\") + kA, "", "Fixture Server");
    m.AddClass(kA, "LocalServer32", "C:\\Gone\\server.exe");
    if (with_app_id) {
      m.registry.SetString(kClassesRoot, std::string("CLSID\\") + kA, "AppID", kB);
      m.registry.SetString(kClassesRoot, std::string("AppID\\") + kB, "", "Fixture Server");
    }
  }
  const std::string question_ =
      "Fixture Server has an AppID registry key defined.\nThis key could be shared by other "
      "objects.\n\nWould you like to remove it?";
};


TEST_F(ExeRemovalTest, AppIdQuestionAndBothAnswers) {
  for (bool yes : {false, true}) {
    SCOPED_TRACE(yes ? "Yes" : "No");
    m.notice = RecordingNotice();
    AddExe(true);
    m.notice.answers = {yes};
    CExeServerObject server(m.platform, kA);
    std::string log;
    EXPECT_EQ(server.RemoveFromRegistry(log), 1);
    ASSERT_EQ(m.notice.questions.size(), 1u);
    EXPECT_EQ(m.notice.questions[0].text, question_);
    EXPECT_EQ(m.notice.questions[0].caption, "Confirm AppID Delete");
    EXPECT_EQ(Exists(std::string("AppID\\") + kB), !yes);
    std::string lines = std::string("CLSID: ") + kA + "\n";
    if (yes) lines += std::string("AppID: ") + kB + "\n";
    ASSERT_EQ(m.notice.notifications.size(), 1u);
    EXPECT_EQ(m.notice.notifications[0].text, Summary("Fixture Server", lines));
    // The backup holds the AppID key whatever the answer.
    EXPECT_NE(m.files.Contents(server.backup_path()).find(std::string("[HKEY_CLASSES_ROOT\\APPID\\") + kB + "]"),
              std::string::npos);
  }
}

TEST_F(ExeRemovalTest, NoAppIdValueAsksNothing) {
  AddExe(false);
  CExeServerObject server(m.platform, kA);
  std::string log;
  EXPECT_EQ(server.RemoveFromRegistry(log), 1);
  EXPECT_TRUE(m.notice.questions.empty());
}

// Names read from a broken or hostile registration never reach a shared key.
TEST_F(ClassRemovalTest, SharedOrPathLikeNamesAreNeverDeleted) {
  for (const char* bad : {"CLSID", " typelib ", "Interface", "*", ".ocx", "   ", "CLSID\\" /*path*/,
                          "..\\x", "Component Categories", "AppID"}) {
    SCOPED_TRACE(bad);
    MemoryPlatform fresh;
    fresh.AddClass(kA, "InprocServer32", "C:\\Gone\\x.dll");
    fresh.AddClass(kA, "ProgID", bad);
    fresh.AddClass(kA, "TypeLib", bad);
    fresh.AddClass(kB, "InprocServer32", "C:\\Here\\y.dll");
    fresh.registry.AddKey(kClassesRoot, "TypeLib\\{other}");
    fresh.registry.AddKey(kClassesRoot, "Interface\\{i}");
    fresh.registry.AddKey(kClassesRoot, ".ocx");
    fresh.registry.AddKey(kClassesRoot, "*\\shellex");
    CControlObject control(fresh.platform, kA);
    std::string log;
    EXPECT_EQ(control.RemoveFromRegistry(log), 1);
    EXPECT_EQ(log, kHeader + std::string("CLSID: ") + kA + "\n");
    EXPECT_TRUE(fresh.registry.KeyExists(kClassesRoot, std::string("CLSID\\") + kB));
    EXPECT_TRUE(fresh.registry.KeyExists(kClassesRoot, "TypeLib\\{other}"));
    EXPECT_TRUE(fresh.registry.KeyExists(kClassesRoot, "Interface\\{i}"));
    EXPECT_TRUE(fresh.registry.KeyExists(kClassesRoot, ".ocx"));
    EXPECT_TRUE(fresh.registry.KeyExists(kClassesRoot, "*\\shellex"));
  }
}

TEST_F(ClassRemovalTest, ProgIdKeyOfAnotherClassSurvives) {
  AddFullControl(kA, "Grid.Control.1");
  m.registry.SetString(kClassesRoot, "Grid.Control.1\\CLSID", "", kB);
  CControlObject control(m.platform, kA);
  std::string log;
  EXPECT_EQ(control.RemoveFromRegistry(log), 1);
  EXPECT_TRUE(Exists("Grid.Control.1"));
  EXPECT_EQ(log.find("ProgID"), std::string::npos);
}

TEST_F(ClassRemovalTest, RefusedDeleteKeepsTheRecordAndListsOnlyWhatIsGone) {
  AddFullControl(kA, "Grid.Control.1");
  m.registry.RefuseDelete(std::string("HKEY_CLASSES_ROOT\\CLSID\\") + kA + "\\Control");
  CControlObject control(m.platform, kA);
  std::string log;
  EXPECT_EQ(control.RemoveFromRegistry(log), 0);
  EXPECT_TRUE(Exists(std::string("CLSID\\") + kA + "\\Control"));
  EXPECT_FALSE(Exists("Grid.Control.1"));
  EXPECT_EQ(log, kHeader + std::string("ProgID: Grid.Control.1\nTypeLib: ") + kLib + "\n");
  EXPECT_TRUE(m.notice.notifications.empty());
  ASSERT_FALSE(m.notice.messages.empty());
  EXPECT_EQ(m.notice.messages.back(),
            "Grid.Control.1 could not be removed from the Registry.\n\nThe following keys were "
            "deleted:\n" + log);
}

TEST_F(ClassRemovalTest, BackupThatCannotBeWrittenOrReadDeletesNothing) {
  for (int fault = 0; fault < 3; ++fault) {
    SCOPED_TRACE(fault);
    MemoryPlatform fresh;
    fresh.AddClass(kA, "InprocServer32", "C:\\Gone\\x.dll");
    fresh.AddClass(kA, "ProgID", "Grid.Control.1");
    fresh.registry.AddKey(kClassesRoot, "Grid.Control.1");
    if (fault == 0) fresh.files.RefuseWritesBelow("C:\\Users\\tester\\Application Data\\Tessaline");
    if (fault == 1) fresh.files.SetAppDataFolder("");
    if (fault == 2)
      fresh.registry.FailEnumValueAt(std::string("HKEY_CLASSES_ROOT\\CLSID\\") + kA + "\\InprocServer32",
                                     0, kErrorAccessDenied);
    CControlObject control(fresh.platform, kA);
    std::string log;
    EXPECT_EQ(control.RemoveFromRegistry(log), 0);
    EXPECT_TRUE(fresh.registry.KeyExists(kClassesRoot, "Grid.Control.1"));
    EXPECT_TRUE(fresh.registry.KeyExists(kClassesRoot, std::string("CLSID\\") + kA + "\\InprocServer32"));
    EXPECT_TRUE(fresh.notice.notifications.empty());
    ASSERT_EQ(fresh.notice.messages.size(), 1u);
    EXPECT_NE(fresh.notice.messages[0].find("Nothing was removed from the Registry for Grid.Control.1."),
              std::string::npos);
    if (fault == 0) {
      EXPECT_NE(fresh.notice.messages[0].find("could not be written to C:\\Users\\tester\\"
                                              "Application Data\\Tessaline\\Corvane\\Backup"),
                std::string::npos);
    }
    if (fault == 2) {
      EXPECT_NE(fresh.notice.messages[0].find(std::string("CLSID\\") + kA + "\\InprocServer32"),
                std::string::npos);
    }
  }
}

TEST_F(ClassRemovalTest, EarlierBackupOfTheSameClassIsNeverOverwritten) {
  for (int round = 0; round < 2; ++round) {
    m.AddClass(kA, "InprocServer32", round == 0 ? "C:\\first.dll" : "C:\\second.dll");
    CDllServerObject server(m.platform, kA);
    std::string log;
    EXPECT_EQ(server.RemoveFromRegistry(log), 1);
  }
  int backups = 0;
  std::string all;
  for (const std::string& path : m.files.Paths())
    if (path.find(".reg") != std::string::npos) ++backups, all += m.files.Contents(path);
  EXPECT_EQ(backups, 2);
  EXPECT_NE(all.find("first.dll"), std::string::npos);
  EXPECT_NE(all.find("second.dll"), std::string::npos);
}

// The import format, byte for byte, for every kind of value and for names that need escaping.
TEST(RegistryBackupTest, ExactTextOfEveryValueType) {
  MemoryPlatform m;
  const std::string key = "CLSID\\{A}";
  m.registry.SetString(kClassesRoot, key, "", "C:\\Program Files\\say \"hi\".dll");
  m.registry.SetString(kClassesRoot, key, "Path\\\"Name\"", "%SystemRoot%\\x.dll", kRegExpandSz);
  m.registry.SetBytes(kClassesRoot, key, "Multi", kRegMultiSz, {'a', 0, 'b', 'c', 0, 0});
  m.registry.SetBytes(kClassesRoot, key, "Count", kRegDword, {0x78, 0x56, 0x34, 0x12});
  m.registry.SetBytes(kClassesRoot, key, "Blob", kRegBinary, {0x00, 0xff, 0x10});
  m.registry.SetBytes(kClassesRoot, key, "Short", kRegDword, {0x01, 0x02});
  m.registry.SetBytes(kClassesRoot, key, "Lines", kRegSz, {'a', '\r', '\n', 'b', 0});
  m.registry.SetBytes(kClassesRoot, key, "Unterminated", kRegSz, {'o', 'k'});
  m.registry.SetBytes(kClassesRoot, key, "Empty", kRegBinary, {});
  m.registry.SetBytes(kClassesRoot, key, "Odd", 0x1234, {0x05});
  m.registry.AddKey(kClassesRoot, key + "\\Sub\\Deeper");
  std::string text = kRegEditHeader, failed;
  ASSERT_TRUE(AppendKeyTree(m.registry, kClassesRoot, "HKEY_CLASSES_ROOT", key, &text, &failed));
  EXPECT_EQ(text,
            "REGEDIT4\r\n\r\n"
            "[HKEY_CLASSES_ROOT\\CLSID\\{A}]\r\n"
            "@=\"C:\\\\Program Files\\\\say \\\"hi\\\".dll\"\r\n"
            "\"Path\\\\\\\"Name\\\"\"=hex(2):25,53,79,73,74,65,6d,52,6f,6f,74,25,5c,78,2e,64,6c,6c,00\r\n"
            "\"Multi\"=hex(7):61,00,62,63,00,00\r\n"
            "\"Count\"=dword:12345678\r\n"
            "\"Blob\"=hex:00,ff,10\r\n"
            "\"Short\"=hex(4):01,02\r\n"
            "\"Lines\"=hex(1):61,0d,0a,62,00\r\n"
            "\"Unterminated\"=hex(1):6f,6b\r\n"
            "\"Empty\"=hex:\r\n"
            "\"Odd\"=hex(1234):05\r\n"
            "\r\n"
            "[HKEY_CLASSES_ROOT\\CLSID\\{A}\\Sub]\r\n"
            "\r\n"
            "[HKEY_CLASSES_ROOT\\CLSID\\{A}\\Sub\\Deeper]\r\n"
            "\r\n");
  EXPECT_EQ(m.registry.OpenHandleCount(), 0u);
}

TEST(RegistryBackupTest, LargeValueIsReadWholeAndAbsentKeyAddsNothing) {
  MemoryPlatform m;
  std::vector<std::uint8_t> big(100000, 0xab);
  m.registry.SetBytes(kClassesRoot, "K", "Big", kRegBinary, big);
  std::string text, failed;
  ASSERT_TRUE(AppendKeyTree(m.registry, kClassesRoot, "HKEY_CLASSES_ROOT", "K", &text, &failed));
  EXPECT_EQ(text.size(), std::string("[HKEY_CLASSES_ROOT\\K]\r\n\"Big\"=hex:\r\n\r\n").size() +
                             big.size() * 3 - 1);
  std::string none;
  EXPECT_TRUE(AppendKeyTree(m.registry, kClassesRoot, "HKEY_CLASSES_ROOT", "Absent", &none, &failed));
  EXPECT_TRUE(none.empty());
}

}  // namespace
}  // namespace corvane
