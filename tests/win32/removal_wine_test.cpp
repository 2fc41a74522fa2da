// Removal and restore against the real registry under Wine: each hostile registration is
// removed, then put back by "regedit /s BACKUP" and by Corvane's own restore, and a dump of
// HKEY_LOCAL_MACHINE\Software and HKEY_CURRENT_USER, every name and byte, is the same after.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <set>

#include "app/settings.h"
#include "catalogue/backup_restore.h"
#include "catalogue/object_kinds.h"
#include "platform/text.h"
#include "tests/win32/scratch_classes.h"

namespace corvane {
namespace {

const char kClsid[] = "{C0C0A000-1111-2222-3333-44445555B0B0}";
const std::u16string kClass = u"CLSID\\{C0C0A000-1111-2222-3333-44445555B0B0}";

std::string Hex(const std::u16string& text) {
  std::string out;
  char unit[8];
  for (char16_t c : text) std::snprintf(unit, sizeof unit, "%04x", static_cast<unsigned>(c)), out += unit;
  return out;
}

// One line per key and value below root\path, each led by its key's path.
void Dump(Registry& registry, RegKey parent, const std::u16string& name, const std::u16string& path,
          std::vector<std::string>* lines) {
  RegKey key = 0;
  if (registry.OpenKeyW(parent, name, kKeyRead, &key) != kErrorSuccess) {
    lines->push_back(Hex(path) + " unreadable");
    return;
  }
  lines->push_back(Hex(path));
  std::u16string value_name;
  std::uint32_t type = 0;
  std::vector<std::uint8_t> data;
  for (std::uint32_t i = 0; registry.EnumValueW(key, i, &value_name, &type, &data) == kErrorSuccess; ++i) {
    std::string line = Hex(path) + " value " + Hex(value_name) + " " + std::to_string(type) + " ";
    for (std::uint8_t b : data) line += std::to_string(b) + ",";
    lines->push_back(line);
  }
  std::vector<std::u16string> children;
  std::u16string child;
  for (std::uint32_t i = 0; registry.EnumKeyW(key, i, &child) == kErrorSuccess; ++i) children.push_back(child);
  for (const std::u16string& c : children) Dump(registry, key, c, path + u"\\" + c, lines);
  registry.CloseKey(key);
}

// The lines only one of the two states has, for the failure message.
std::string Difference(const std::vector<std::string>& a, const std::vector<std::string>& b) {
  std::set<std::string> in_a(a.begin(), a.end()), in_b(b.begin(), b.end());
  std::string out;
  for (const std::string& line : in_a)
    if (!in_b.count(line)) out += "- " + line + "\n";
  for (const std::string& line : in_b)
    if (!in_a.count(line)) out += "+ " + line + "\n";
  return out;
}

class RemovalWineTest : public ::testing::Test {
 protected:
  RemovalWineTest() : saved_(AppSettings()) { AppSettings().after_remove = 3; }
  ~RemovalWineTest() override {
    for (const std::u16string& path : made_) DeleteTree(path);
    for (const std::string& file : backups_) w.files.EraseFile(file.c_str());
    AppSettings() = saved_;
  }

  void Set(const std::u16string& path, const std::u16string& name, std::uint32_t type,
           const std::vector<std::uint8_t>& data) {
    RegKey key = 0;
    ASSERT_EQ(w.registry.CreateKeyW(kClassesRoot, path, &key), kErrorSuccess);
    EXPECT_EQ(w.registry.SetValueW(key, name, type, data), kErrorSuccess);
    w.registry.CloseKey(key);
  }
  void Made(const std::u16string& top) { made_.push_back(top); }
  // Deletes below the open parent, key by key, so that no path grows past the registry's limit.
  void DeleteTree(const std::u16string& path, RegKey parent = kClassesRoot) {
    RegKey key = 0;
    if (w.registry.OpenKeyW(parent, path, kKeyAllAccess, &key) != kErrorSuccess) return;
    std::u16string child;
    std::vector<std::u16string> children;
    for (std::uint32_t i = 0; w.registry.EnumKeyW(key, i, &child) == kErrorSuccess; ++i) children.push_back(child);
    for (const std::u16string& c : children) DeleteTree(c, key);
    w.registry.CloseKey(key);
    w.registry.DeleteKeyW(parent, path);
  }
  std::vector<std::string> State() {
    std::vector<std::string> lines;
    Dump(w.registry, kLocalMachine, u"Software", u"HKLM\\Software", &lines);
    Dump(w.registry, kCurrentUser, u"", u"HKCU", &lines);
    // Wine keeps caches of its own there (the fonts' code pages follow the process's).
    const std::string wine = Hex(u"HKCU\\Software\\Wine\\");
    lines.erase(std::remove_if(lines.begin(), lines.end(),
                               [&](const std::string& line) {
                                 return line.compare(0, wine.size(), wine) == 0;
                               }),
                lines.end());
    return lines;
  }
  // The lines of the state that are not below any of the class's keys.
  std::vector<std::string> Outside(std::vector<std::string> lines) {
    lines.erase(std::remove_if(lines.begin(), lines.end(),
                               [&](const std::string& line) {
                                 for (const std::u16string& top : made_) {
                                   const std::string prefix = Hex(u"HKLM\\Software\\Classes\\" + top);
                                   if (line.compare(0, prefix.size(), prefix) == 0) return true;
                                 }
                                 return false;
                               }),
                lines.end());
    return lines;
  }
  std::string Remove() {
    CDllServerObject server(w.platform, kClsid);
    std::string log;
    const int removed = server.RemoveFromRegistry(log);
    if (!server.backup_path().empty()) backups_.push_back(server.backup_path());
    return removed == 1 ? server.backup_path() : std::string();
  }
  static void Regedit(const std::string& file) {
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, MAX_PATH);
    std::string command = std::string("\"") + windows + "\\regedit.exe\" /s \"" + file + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &startup, &process));
    EXPECT_EQ(WaitForSingleObject(process.hProcess, 120000), WAIT_OBJECT_0);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  // Removes the class and restores it by Corvane, then (with_regedit) removes it again and
  // restores it by regedit; the dump is the same after each.
  void RoundTrip(bool with_regedit = true) {
    const std::vector<std::string> before = State();
    const std::string file = Remove();
    ASSERT_FALSE(file.empty()) << (w.notice.messages.empty() ? "" : w.notice.messages[0]);
    const std::vector<std::string> removed = State();
    EXPECT_TRUE(Outside(removed) == Outside(before)) << Difference(Outside(before), Outside(removed));
    EXPECT_NE(removed, before);
    const RestoreResult restored = RestoreBackup(w.platform, file, false);
    EXPECT_EQ(restored.status, RestoreStatus::kRestored) << restored.message;
    const std::vector<std::string> after = State();
    EXPECT_TRUE(after == before) << "after Corvane's restore:\n" << Difference(before, after);
    if (!with_regedit) return;
    const std::string again = Remove();
    ASSERT_FALSE(again.empty());
    Regedit(again);
    const std::vector<std::string> imported = State();
    EXPECT_TRUE(imported == before) << "after regedit /s:\n" << Difference(before, imported);
  }
  void Refused(const std::string& what) {
    const std::vector<std::string> before = State();
    EXPECT_TRUE(Remove().empty());
    EXPECT_EQ(State(), before);
    ASSERT_FALSE(w.notice.messages.empty());
    EXPECT_NE(w.notice.messages[0].find(what), std::string::npos) << w.notice.messages[0];
  }
  void AddClass() {
    Made(kClass);
    Set(kClass + u"\\InprocServer32", u"", kRegSz, BytesOfText(u"C:\\Программы\\файл.dll"));
  }

  Win32Platform w;
  Settings saved_;
  std::vector<std::u16string> made_;
  std::vector<std::string> backups_;
};

std::vector<std::uint8_t> Unterminated(const std::u16string& text) {
  std::vector<std::uint8_t> bytes = BytesOfText(text);
  bytes.resize(bytes.size() - 2);
  return bytes;
}

TEST_F(RemovalWineTest, WideNamesAndTextComeBack) {
  AddClass();
  Made(u"Вид.Класс.1");
  Set(kClass + u"\\ProgID", u"", kRegSz, BytesOfText(u"Вид.Класс.1"));
  Set(u"Вид.Класс.1\\CLSID", u"", kRegSz, BytesOfText(Widen(kClsid)));
  Set(kClass, u"cyr Жж", kRegExpandSz, BytesOfText(u"%ProgramFiles%\\Жж"));
  Set(kClass, u"ıłＡ", kRegMultiSz, BytesOfText(std::u16string(u"ıł\0Ａ\0", 5)));
  Set(kClass + u"\\Vıctim", u"", kRegSz, BytesOfText(u"dotless"));
  Set(kClass + u"\\Victim", u"", kRegSz, BytesOfText(u"plain"));
  RoundTrip();
}

// Wine's regedit imports an odd-length hex(1) as its whole characters and a terminator, so
// only Corvane's own restore gives such a value back exactly.
TEST_F(RemovalWineTest, OddLengthStringComesBackThroughCorvane) {
  AddClass();
  Set(kClass, u"odd", kRegSz, {'a', 'b', 'c'});
  RoundTrip(false);
}

TEST_F(RemovalWineTest, UnterminatedAndControlValuesComeBack) {
  AddClass();
  Set(kClass, u"open", kRegSz, Unterminated(u"open"));
  Set(kClass, u"multi", kRegMultiSz, Unterminated(std::u16string(u"a\0b", 3)));
  Set(kClass, u"lines", kRegSz, BytesOfText(u"a\r\n[HKEY_CURRENT_USER]"));
  Set(kClass, u"@", kRegDword, {1, 2});
  Set(kClass, u"quote\" and \\", kRegNone, {});
  RoundTrip();
}

TEST_F(RemovalWineTest, InjectedNamesRefuseTheRemoval) {
  AddClass();
  Set(kClass + u"\\x]\r\n[HKEY_CURRENT_USER]\r\n\"AdvPlanted\"=\"by key name\"", u"", kRegSz,
      BytesOfText(u"planted"));
  Refused("holds a line break");
}

// Past 32,767 characters the registry editor drops the deepest keys of an import.
TEST_F(RemovalWineTest, TreeTooDeepForTheImportRefusesTheRemoval) {
  AddClass();
  std::u16string path = kClass;
  RegKey key = 0;
  ASSERT_EQ(w.registry.OpenKeyW(kClassesRoot, kClass, kKeyAllAccess, &key), kErrorSuccess);
  for (int level = 0; level < 130; ++level) {
    RegKey child = 0;
    ASSERT_EQ(w.registry.CreateKeyW(key, std::u16string(255, u'a' + level % 26), &child), kErrorSuccess);
    w.registry.CloseKey(key);
    key = child;
  }
  w.registry.CloseKey(key);
  Refused("nested too deeply");
  DeleteTree(kClass);
  EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, "CLSID\\{C0C0A000-1111-2222-3333-44445555B0B0}"));
}

TEST_F(RemovalWineTest, LinkRefusesTheRemovalAndItsTargetStays) {
  AddClass();
  Set(u"CorvaneAdvVictim\\Inside", u"", kRegSz, BytesOfText(u"victim"));
  Made(u"CorvaneAdvVictim");
  HKEY link = nullptr;
  const std::wstring name = L"CLSID\\{C0C0A000-1111-2222-3333-44445555B0B0}\\Link";
  ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, name.c_str(), 0, nullptr,
                            REG_OPTION_CREATE_LINK | REG_OPTION_VOLATILE, KEY_ALL_ACCESS | KEY_CREATE_LINK,
                            nullptr, &link, nullptr),
            ERROR_SUCCESS);
  const std::wstring target = L"\\Registry\\Machine\\Software\\Classes\\CorvaneAdvVictim";
  ASSERT_EQ(RegSetValueExW(link, L"SymbolicLinkValue", 0, REG_LINK,
                           reinterpret_cast<const BYTE*>(target.c_str()),
                           static_cast<DWORD>(target.size() * sizeof(wchar_t))),
            ERROR_SUCCESS);
  RegCloseKey(link);
  Refused("is a registry link");
  EXPECT_TRUE(RegistryKeyExists(HKEY_CLASSES_ROOT, "CorvaneAdvVictim\\Inside"));
  // The link itself goes as a link, its target untouched.
  EXPECT_EQ(w.registry.DeleteKeyW(kClassesRoot, kClass + u"\\Link"), kErrorSuccess);
  EXPECT_TRUE(RegistryKeyExists(HKEY_CLASSES_ROOT, "CorvaneAdvVictim\\Inside"));
}

TEST_F(RemovalWineTest, SharedProgIdAndTypeLibraryStay) {
  AddClass();
  const char16_t kLib[] = u"{C0C0A000-1111-2222-3333-44445555B1B1}";
  const std::u16string other = u"CLSID\\{C0C0A000-1111-2222-3333-44445555B2B2}";
  Made(other);
  Made(std::u16string(u"TypeLib\\") + kLib);
  Set(kClass + u"\\ProgID", u"", kRegSz, BytesOfText(u"txtfile"));
  Set(kClass + u"\\TypeLib", u"", kRegSz, BytesOfText(kLib));
  Set(other + u"\\TypeLib", u"", kRegSz, BytesOfText(kLib));
  Set(std::u16string(u"TypeLib\\") + kLib + u"\\1.0", u"", kRegSz, BytesOfText(u"Shared"));
  ASSERT_TRUE(RegistryKeyExists(HKEY_CLASSES_ROOT, "txtfile"));
  const std::vector<std::string> before = State();
  ASSERT_FALSE(Remove().empty());
  EXPECT_TRUE(RegistryKeyExists(HKEY_CLASSES_ROOT, "txtfile"));
  EXPECT_TRUE(RegistryKeyExists(HKEY_CLASSES_ROOT, "TypeLib\\{C0C0A000-1111-2222-3333-44445555B1B1}"));
  made_ = {kClass};
  EXPECT_EQ(Outside(State()), Outside(before));
  made_ = {kClass, other, std::u16string(u"TypeLib\\") + kLib};
}

}  // namespace
}  // namespace corvane
