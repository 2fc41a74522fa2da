// Removing a class from the registry: the keys, the log and summary, the AppID question, the
// guards against deleting what the class does not own, and the backup written first.
#include <gtest/gtest.h>

#include "app/settings.h"
#include "catalogue/object_kinds.h"
#include "catalogue/registry_backup.h"
#include "catalogue/registry_scan.h"
#include "platform/text.h"
#include "tests/unit/memory_platform.h"

namespace corvane {
namespace {

const char kA[] = "{AAAAAAAA-0000-0000-0000-000000000001}";
const char kB[] = "{BBBBBBBB-0000-0000-0000-000000000002}";
const char kLib[] = "{11111111-2222-3333-4444-555555555555}";
const char kHeader[] = "------------------------------------------\n";
const char kBackupFolder[] = "C:\\Users\\tester\\Application Data\\Tessaline\\Corvane\\Backup\\";

// A backup file's text, for searching: the byte-order mark dropped, characters past 0xFF as '?'.
std::string TextOf(const std::string& bytes) {
  EXPECT_EQ(bytes.compare(0, 2, "\xFF\xFE"), 0);
  std::vector<std::uint8_t> data(bytes.begin() + (bytes.size() >= 2 ? 2 : 0), bytes.end());
  data.push_back(0);
  data.push_back(0);
  return Shown(TextOfBytes(data));
}

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
    return written.empty() ? std::string() : TextOf(m.files.Contents(written[0]));
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
  EXPECT_EQ(backup.rfind("Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CLASSES_ROOT\\Grid.Control.1]\r\n", 0), 0u);
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

// A type library goes with the last class that names it, and the catalogue reads the classes'
// libraries once for all its removals.
TEST_F(ClassRemovalTest, SharedTypeLibraryStaysUntilItsLastClassGoes) {
  AddFullControl(kA, "Grid.Control.1");
  AddFullControl(kB, "Grid.Other.1");
  CObjectLists lists;
  ScanRegistry(m.platform, lists);
  ASSERT_EQ(lists.list(kControls).size(), 2u);
  std::string log;
  EXPECT_EQ(lists.list(kControls)[0]->RemoveFromRegistry(log), 1);
  EXPECT_TRUE(Exists(std::string("TypeLib\\") + kLib));
  EXPECT_EQ(log.find("TypeLib"), std::string::npos);
  ASSERT_EQ(m.notice.notifications.size(), 1u);
  EXPECT_NE(m.notice.notifications[0].text.find(std::string("TypeLib: ") + kLib + " (the class " +
                                                kB + " uses it too)"),
            std::string::npos);
  EXPECT_EQ(lists.list(kControls)[1]->RemoveFromRegistry(log), 1);
  EXPECT_FALSE(Exists(std::string("TypeLib\\") + kLib));
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
    EXPECT_NE(TextOf(m.files.Contents(server.backup_path())).find(std::string("[HKEY_CLASSES_ROOT\\APPID\\") + kB + "]"),
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

// A ProgID key is deleted only when its own CLSID key names the class: a file type or a URL
// protocol that a hostile class names as its ProgID stays, and the summary says so.
TEST_F(ClassRemovalTest, ProgIdKeyThatDoesNotNameTheClassSurvives) {
  for (const char* owner : {kB, ""}) {
    SCOPED_TRACE(owner);
    MemoryPlatform fresh;
    fresh.AddClass(kA, "InprocServer32", "C:\\Gone\\x.dll");
    fresh.AddClass(kA, "ProgID", "txtfile");
    fresh.AddClass(kA, "VersionIndependentProgID", "http");
    fresh.registry.SetString(kClassesRoot, "txtfile\\shell\\open\\command", "", "notepad.exe %1");
    fresh.registry.SetString(kClassesRoot, "http\\shell\\open\\command", "", "browser.exe %1");
    if (*owner) fresh.registry.SetString(kClassesRoot, "txtfile\\CLSID", "", owner);
    CDllServerObject server(fresh.platform, kA);
    std::string log;
    EXPECT_EQ(server.RemoveFromRegistry(log), 1);
    EXPECT_TRUE(fresh.registry.KeyExists(kClassesRoot, "txtfile\\shell\\open\\command"));
    EXPECT_TRUE(fresh.registry.KeyExists(kClassesRoot, "http\\shell\\open\\command"));
    EXPECT_EQ(log, kHeader + std::string("CLSID: ") + kA + "\n");
    ASSERT_EQ(fresh.notice.notifications.size(), 1u);
    EXPECT_NE(fresh.notice.notifications[0].text.find(
                  "kept, as other registrations use them:\nProgID: txtfile (its CLSID key does not "
                  "name this class)\nProgID: http"),
              std::string::npos);
  }
}

TEST_F(ClassRemovalTest, VersionIndependentProgIdOfTheClassGoesToo) {
  AddFullControl(kA, "Grid.Control.1");
  m.AddClass(kA, "VersionIndependentProgID", "Grid.Control");
  m.registry.SetString(kClassesRoot, "Grid.Control\\CLSID", "", kA);
  CControlObject control(m.platform, kA);
  std::string log;
  EXPECT_EQ(control.RemoveFromRegistry(log), 1);
  EXPECT_FALSE(Exists("Grid.Control"));
  EXPECT_EQ(log, kHeader + std::string("ProgID: Grid.Control.1\nProgID: Grid.Control\nTypeLib: ") + kLib +
                     "\nCLSID: " + kA + "\n");
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
    if (path.find(".reg") != std::string::npos) ++backups, all += TextOf(m.files.Contents(path));
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
  m.registry.SetBytes(kClassesRoot, key, "Count", kRegDword, {0x78, 0x56, 0x34, 0x12});
  m.registry.SetBytes(kClassesRoot, key, "Blob", kRegBinary, {0x00, 0xff, 0x10});
  m.registry.SetBytes(kClassesRoot, key, "Short", kRegDword, {0x01, 0x02});
  m.registry.SetBytes(kClassesRoot, key, "Tab", kRegSz, {'a', '\t', 'b', 0});
  m.registry.SetWide(kClassesRoot, u"CLSID\\{A}", u"Odd", kRegSz, {'a', 'b', 'c'});
  m.registry.SetWide(kClassesRoot, u"CLSID\\{A}", u"Open", kRegSz, {'o', 0, 'k', 0});
  m.registry.SetWide(kClassesRoot, u"CLSID\\{A}", u"Жж", kRegSz, {0x16, 0x04, 0, 0});
  m.registry.SetBytes(kClassesRoot, key, "Empty", kRegBinary, {});
  m.registry.SetBytes(kClassesRoot, key, "Type", 0x1234, {0x05});
  m.registry.AddKey(kClassesRoot, key + "\\Sub\\Deeper");
  SavedKey tree;
  std::u16string problem;
  ASSERT_EQ(ReadSavedKey(m.registry, kClassesRoot, u"CLSID\\{A}", u"HKEY_CLASSES_ROOT\\CLSID\\{A}",
                         &tree, &problem),
            ReadOutcome::kRead);
  std::u16string text;
  AppendSavedKey(tree, u"HKEY_CLASSES_ROOT\\CLSID\\{A}", &text);
  EXPECT_TRUE(text ==
              u"[HKEY_CLASSES_ROOT\\CLSID\\{A}]\r\n"
              u"@=\"C:\\\\Program Files\\\\say \\\"hi\\\".dll\"\r\n"
              u"\"Path\\\\\\\"Name\\\"\"=hex(2):25,00,53,00,79,00,73,00,74,00,65,00,6d,00,52,00,6f,00,6f,00,"
              u"74,00,25,00,5c,00,78,00,2e,00,64,00,6c,00,6c,00,00,00\r\n"
              u"\"Count\"=dword:12345678\r\n"
              u"\"Blob\"=hex:00,ff,10\r\n"
              u"\"Short\"=hex(4):01,02\r\n"
              u"\"Tab\"=hex(1):61,00,09,00,62,00,00,00\r\n"
              u"\"Odd\"=hex(1):61,62,63\r\n"
              u"\"Open\"=hex(1):6f,00,6b,00\r\n"
              u"\"Жж\"=\"Ж\"\r\n"
              u"\"Empty\"=hex:\r\n"
              u"\"Type\"=hex(1234):05\r\n"
              u"\r\n"
              u"[HKEY_CLASSES_ROOT\\CLSID\\{A}\\Sub]\r\n"
              u"\r\n"
              u"[HKEY_CLASSES_ROOT\\CLSID\\{A}\\Sub\\Deeper]\r\n"
              u"\r\n");
  EXPECT_EQ(EncodeRegFile(u"Aж"), std::string("\xFF\xFE" "A\0\x36\x04", 6));
  EXPECT_EQ(m.registry.OpenHandleCount(), 0u);
}

}  // namespace
}  // namespace corvane
