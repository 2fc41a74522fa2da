// A removal puts back byte for byte what it deleted, through its own restore, and touches
// nothing else: hostile names, odd values, links, deep trees.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/settings.h"
#include "catalogue/backup_reader.h"
#include "catalogue/backup_restore.h"
#include "catalogue/object_kinds.h"
#include "platform/text.h"
#include "tests/unit/memory_platform.h"

namespace corvane {
namespace {

const char kA[] = "{AAAAAAAA-0000-0000-0000-000000000001}";
const std::u16string kClass = u"CLSID\\{AAAAAAAA-0000-0000-0000-000000000001}";

std::vector<std::uint8_t> Utf16(const std::u16string& text, bool terminated = true) {
  std::vector<std::uint8_t> bytes = BytesOfText(text);
  if (!terminated) bytes.resize(bytes.size() - 2);
  return bytes;
}

class RoundTripTest : public ::testing::Test {
 protected:
  RoundTripTest() : saved_(AppSettings()) {
    AppSettings().after_remove = 3;
    m.registry.SetWide(kClassesRoot, kClass + u"\\InprocServer32", u"", kRegSz,
                       Utf16(u"C:\\Программы\\файл.dll"));
    m.registry.SetWide(kClassesRoot, kClass + u"\\ProgID", u"", kRegSz, Utf16(u"Вид.Класс.1"));
    m.registry.SetWide(kClassesRoot, u"Вид.Класс.1\\CLSID", u"", kRegSz, Utf16(Widen(kA)));
    // What lies beside the class and must never change.
    m.registry.SetString(kLocalMachine, "Software\\AdvVictim", "", "keep me");
    m.registry.SetString(kClassesRoot, "Вид.Класс.2\\CLSID", "", "{other}");
    m.registry.SetString(kCurrentUser, "Software\\Mine", "Value", "mine");
  }
  ~RoundTripTest() override { AppSettings() = saved_; }

  std::string State() {
    return m.registry.Snapshot(kClassesRoot) + m.registry.Snapshot(kLocalMachine) +
           m.registry.Snapshot(kCurrentUser);
  }
  // Removes the class, checks it is gone, restores it and checks every byte is back.
  void RemoveAndRestore() {
    const std::string before = State();
    const std::string others = m.registry.Snapshot(kLocalMachine) + m.registry.Snapshot(kCurrentUser);
    CDllServerObject server(m.platform, kA);
    std::string log;
    ASSERT_EQ(server.RemoveFromRegistry(log), 1) << (m.notice.messages.empty() ? "" : m.notice.messages[0]);
    EXPECT_FALSE(m.registry.KeyExists(kClassesRoot, std::string("CLSID\\") + kA));
    EXPECT_FALSE(m.registry.KeyExists(kClassesRoot, "Вид.Класс.1"));
    EXPECT_TRUE(m.registry.KeyExists(kClassesRoot, "Вид.Класс.2"));
    EXPECT_EQ(m.registry.Snapshot(kLocalMachine) + m.registry.Snapshot(kCurrentUser), others);
    const RestoreResult restored = RestoreBackup(m.platform, server.backup_path(), false);
    EXPECT_EQ(restored.status, RestoreStatus::kRestored) << restored.message;
    EXPECT_EQ(State(), before);
  }
  // Checks the removal is refused with a message holding what, and nothing changed.
  void ExpectRefused(const std::string& what) {
    const std::string before = State();
    CDllServerObject server(m.platform, kA);
    std::string log;
    EXPECT_EQ(server.RemoveFromRegistry(log), 0);
    EXPECT_EQ(State(), before);
    ASSERT_EQ(m.notice.messages.size(), 1u);
    EXPECT_NE(m.notice.messages[0].find(what), std::string::npos) << m.notice.messages[0];
    EXPECT_NE(m.notice.messages[0].find("Nothing was removed"), std::string::npos);
  }

  MemoryPlatform m;
  Settings saved_;
};

TEST_F(RoundTripTest, NamesAndTextOutsideTheCodePageComeBackExactly) {
  m.registry.SetWide(kClassesRoot, kClass, u"cyr Жж", kRegExpandSz, Utf16(u"%ProgramFiles%\\Жж"));
  m.registry.SetWide(kClassesRoot, kClass, u"ıłＡ", kRegMultiSz, Utf16(u"ıł\0Ａ\0", true));
  m.registry.SetWide(kClassesRoot, kClass + u"\\Vıctim", u"", kRegSz, Utf16(u"dotless"));
  m.registry.SetWide(kClassesRoot, kClass + u"\\Victim", u"", kRegSz, Utf16(u"plain"));
  RemoveAndRestore();
}

TEST_F(RoundTripTest, OddAndUnterminatedValuesComeBackByteForByte) {
  m.registry.SetWide(kClassesRoot, kClass, u"odd", kRegSz, {'a', 'b', 'c'});
  m.registry.SetWide(kClassesRoot, kClass, u"open", kRegSz, Utf16(u"open", false));
  m.registry.SetWide(kClassesRoot, kClass, u"multi", kRegMultiSz, Utf16(u"a\0b", false));
  m.registry.SetWide(kClassesRoot, kClass, u"lines", kRegSz, Utf16(u"a\r\n\"[HKEY_CURRENT_USER]\""));
  m.registry.SetWide(kClassesRoot, kClass, u"@", kRegDword, {1, 2});
  m.registry.SetWide(kClassesRoot, kClass, u"quote\" and \\", kRegNone, {});
  RemoveAndRestore();
}

TEST_F(RoundTripTest, KeyNameWithALineBreakRefusesTheRemoval) {
  m.registry.SetWide(kClassesRoot, kClass + u"\\x]\r\n[HKEY_CURRENT_USER]\r\n\"AdvPlanted\"=\"by key name\"",
                     u"", kRegSz, Utf16(u"planted"));
  ExpectRefused("holds a line break");
}

TEST_F(RoundTripTest, ValueNameWithALineBreakRefusesTheRemoval) {
  m.registry.SetWide(kClassesRoot, kClass + u"\\InprocServer32", u"x\"\r\n@=\"C:\\evil.dll", kRegSz,
                     Utf16(u"x"));
  ExpectRefused("The value name");
}

TEST_F(RoundTripTest, TreeTooDeepForTheImportRefusesTheRemoval) {
  std::u16string path = kClass;
  for (int level = 0; level < 130; ++level) path += u"\\" + std::u16string(255, u'a' + level % 26);
  m.registry.SetWide(kClassesRoot, path, u"", kRegSz, Utf16(u"deep"));
  ExpectRefused("nested too deeply");
}

TEST_F(RoundTripTest, RegistryLinkRefusesTheRemovalAndItsTargetStays) {
  m.registry.AddLink(kClassesRoot, kClass + u"\\Implemented Categories", kLocalMachine,
                     "Software\\AdvVictim");
  ExpectRefused(std::string("CLSID\\") + kA + "\\Implemented Categories is a registry link");
  EXPECT_TRUE(m.registry.KeyExists(kLocalMachine, "Software\\AdvVictim"));
}

// The in-memory registry behaves as Windows does with links: the ANSI calls follow them, the
// wide deletion removes the link itself.
TEST(MemoryRegistryLinkTest, AnsiDeleteFollowsTheLinkWideDeleteDoesNot) {
  for (bool wide : {false, true}) {
    MemoryRegistry registry;
    registry.AddKey(kLocalMachine, "Software\\Target");
    registry.AddLink(kClassesRoot, u"Link", kLocalMachine, "Software\\Target");
    const long rc = wide ? registry.DeleteKeyW(kClassesRoot, u"Link") : registry.DeleteKey(kClassesRoot, "Link");
    EXPECT_EQ(rc, kErrorSuccess);
    EXPECT_EQ(registry.KeyExists(kLocalMachine, "Software\\Target"), wide);
    EXPECT_EQ(registry.KeyExists(kClassesRoot, "Link"), !wide);
  }
}

class BackupFileTest : public RoundTripTest {
 protected:
  // The backup of the fixture's class, its bytes, the class removed.
  std::string Backup() {
    CDllServerObject server(m.platform, kA);
    std::string log;
    EXPECT_EQ(server.RemoveFromRegistry(log), 1);
    path_ = server.backup_path();
    return m.files.Contents(path_);
  }
  std::string Reads(const std::string& bytes) {
    std::vector<BackupSection> keys;
    std::string error;
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    return ReadBackupFile(data, bytes.size(), &keys, &error) ? "ok" : error;
  }
  // The file with one piece of its text replaced.
  static std::string Edited(std::string bytes, const std::u16string& from, const std::u16string& to) {
    const std::string narrow_from = EncodeRegFile(from).substr(2), narrow_to = EncodeRegFile(to).substr(2);
    const std::size_t at = bytes.find(narrow_from);
    EXPECT_NE(at, std::string::npos);
    if (at != std::string::npos) bytes.replace(at, narrow_from.size(), narrow_to);
    return bytes;
  }
  std::string path_;
};

TEST_F(BackupFileTest, ReaderRefusesWhatTheWriterNeverWritesWithItsLine) {
  m.registry.SetWide(kClassesRoot, kClass, u"n", kRegDword, {1, 0, 0, 0});
  m.registry.SetWide(kClassesRoot, kClass, u"b", kRegBinary, {0xab});
  const std::string good = Backup();
  EXPECT_EQ(Reads(good), "ok");
  const std::pair<std::u16string, std::u16string> edits[] = {
      {u"Version 5.00", u"Version 4.00"},
      {u"\"n\"=dword:00000001\r\n", u"\"n\"=dword:00000001\n"},
      {u"dword:00000001", u"dword:1"},
      {u"hex:ab", u"hex:AB"},
      {u"hex:ab", u"hex(3):ab"},
      {u"hex:ab", u"hex:ab,"},
      {u"\"b\"=", u"\"n\"="},
      {u"\"b\"=", u"\"b\\n\"="},
      {u"[HKEY_CLASSES_ROOT\\CLSID", u"[HKEY_CURRENT_USER\\CLSID"},
      {u"@=\"C:\\\\", u"@=\"C:\\"},
  };
  for (const auto& [from, to] : edits) {
    SCOPED_TRACE(Shown(to));
    const std::string result = Reads(Edited(good, from, to));
    EXPECT_EQ(result.rfind("Line ", 0), 0u) << result;
  }
  // The line number is the edited line's.
  const std::string text = Shown(TextOfBytes(std::vector<std::uint8_t>(good.begin() + 2, good.end())));
  const std::size_t line = 1 + std::count(text.begin(), text.begin() + text.find("\"n\"="), '\n');
  EXPECT_EQ(Reads(Edited(good, u"dword:00000001", u"dword:00000001 ")),
            "Line " + std::to_string(line) + ": not a value line Corvane writes.");
  EXPECT_NE(Reads(good.substr(0, good.size() - 4)), "ok");  // the last blank line cut off
  EXPECT_NE(Reads(good.substr(0, good.size() - 1)), "ok");  // half a character
  EXPECT_NE(Reads(good.substr(2)), "ok");                   // no byte-order mark
}

TEST_F(BackupFileTest, RestoreRefusesAClassRegisteredAgainUnlessTheCurrentOneIsBackedUp) {
  Backup();
  m.registry.SetString(kClassesRoot, std::string("CLSID\\") + kA + "\\InprocServer32", "", "C:\\new.dll");
  const std::string current = State();
  RestoreResult result = RestoreBackup(m.platform, path_, false);
  EXPECT_EQ(result.status, RestoreStatus::kRegisteredAgain);
  EXPECT_NE(result.message.find(std::string("CLSID\\") + kA + " exists"), std::string::npos);
  EXPECT_EQ(State(), current);
  result = RestoreBackup(m.platform, path_, true);
  EXPECT_EQ(result.status, RestoreStatus::kRestored) << result.message;
  EXPECT_NE(result.message.find("The current registration was backed up to"), std::string::npos);
  EXPECT_EQ(ReadWideText(m.registry, kClassesRoot, kClass + u"\\InprocServer32"),
            u"C:\\Программы\\файл.dll");
  const std::vector<BackupEntry> listed = ListBackups(m.platform);
  ASSERT_EQ(listed.size(), 2u);
  const BackupEntry& entry = listed[listed[0].path == path_ ? 0 : 1];
  EXPECT_EQ(entry.path, path_);
  EXPECT_EQ(entry.clsid, kA);
  EXPECT_EQ(entry.prog_id, "???.?????.1");
  EXPECT_EQ(entry.server, "C:\\?????????\\????.dll");
  EXPECT_TRUE(entry.error.empty());
}

TEST_F(BackupFileTest, RestoreThatFailsPartWayLeavesNothingBehind) {
  m.registry.SetWide(kClassesRoot, kClass + u"\\Sub", u"", kRegSz, Utf16(u"x"));
  Backup();
  const std::string removed = State();
  m.registry.RefuseOpen(std::string("HKEY_CLASSES_ROOT\\CLSID\\") + kA + "\\Sub");
  const RestoreResult result = RestoreBackup(m.platform, path_, false);
  EXPECT_EQ(result.status, RestoreStatus::kFailed);
  EXPECT_NE(result.message.find("nothing of"), std::string::npos);
  EXPECT_EQ(State(), removed);
}

}  // namespace
}  // namespace corvane
