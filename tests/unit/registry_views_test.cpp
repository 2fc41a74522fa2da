// The two halves of a 64-bit registry: what each view sees, removal and its backup in one
// view, and servers of the other bitness registered through that bitness's regsvr32.
#include <gtest/gtest.h>

#include <sstream>

#include "app/settings.h"
#include "catalogue/backup_restore.h"
#include "catalogue/image_bits.h"
#include "catalogue/object_kinds.h"
#include "catalogue/registry_scan.h"
#include "catalogue/server_registration.h"
#include "tools/inventory_report.h"
#include "tests/unit/memory_platform.h"
#include "tests/unit/pe_test_image.h"

namespace corvane {
namespace {

const char kShared[] = "{5AAAAAAA-0000-0000-0000-000000000001}";
const char kOnly32[] = "{3AAAAAAA-0000-0000-0000-000000000002}";
const char kOnly64[] = "{6AAAAAAA-0000-0000-0000-000000000003}";

class RegistryViewsTest : public ::testing::Test {
 protected:
  RegistryViewsTest() : saved_(AppSettings()) {
    AppSettings().after_remove = 3;
    AppSettings().after_register = 3;
    AppSettings().after_unregister = 3;
  }
  ~RegistryViewsTest() override { AppSettings() = saved_; }

  void AddDllClass(RegistryView view, const char* clsid, const std::string& prog_id,
                   const std::string& dll) {
    ViewSwitch in(m.registry, view);
    m.AddClass(clsid, "InprocServer32", dll);
    m.AddClass(clsid, "ProgID", prog_id);
    m.registry.SetString(kClassesRoot, prog_id + "\\CLSID", "", clsid);
  }
  std::vector<std::string> ScannedNames(RegistryView view) {
    ChooseView(m.platform, view);
    CObjectLists lists;
    ScanRegistry(m.platform, lists);
    std::vector<std::string> names;
    for (const auto& record : lists.list(kDllServers)) names.push_back(record->GetName());
    return names;
  }
  bool ClassIn(RegistryView view, const char* clsid) {
    ViewSwitch in(m.registry, view);
    return m.registry.KeyExists(kClassesRoot, std::string("CLSID\\") + clsid);
  }
  // The backup's text; its UTF-16 holds only ASCII here.
  std::string BackupOf(const std::string& clsid) {
    for (const std::string& path : m.files.Paths()) {
      if (path.find(clsid) == std::string::npos) continue;
      const std::string bytes = m.files.Contents(path);
      std::string text;
      for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) text += bytes[i];
      return text;
    }
    ADD_FAILURE() << "no backup written";
    return std::string();
  }
  // What the system's registry editor (a 64-bit program) does with the backup's keys and
  // default values.
  void ImportAs64BitEditor(const std::string& text) {
    ViewSwitch editor(m.registry, RegistryView::k64);
    std::istringstream lines(text);
    std::string line, key;
    const std::string root = "[HKEY_CLASSES_ROOT\\";
    while (std::getline(lines, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (line.compare(0, root.size(), root) == 0) {
        key = line.substr(root.size(), line.size() - root.size() - 1);
        m.registry.AddKey(kClassesRoot, key);
      } else if (line.compare(0, 3, "@=\"") == 0) {
        m.registry.SetString(kClassesRoot, key, "", line.substr(3, line.size() - 4));
      }
    }
  }

  MemoryPlatform m;
  Settings saved_;
};

TEST_F(RegistryViewsTest, EachViewScansOnlyItsOwnClassesWhileOtherKeysAreShared) {
  AddDllClass(RegistryView::k32, kOnly32, "Only.ThirtyTwo.1", "C:\\x32.dll");
  AddDllClass(RegistryView::k64, kOnly64, "Only.SixtyFour.1", "C:\\x64.dll");
  EXPECT_EQ(ScannedNames(RegistryView::k32), std::vector<std::string>{"Only.ThirtyTwo.1"});
  EXPECT_EQ(ScannedNames(RegistryView::k64), std::vector<std::string>{"Only.SixtyFour.1"});
  // As on 64-bit Windows, ProgIDs and the user's keys are one for both views, and the 64-bit
  // view reaches the 32-bit classes below Wow6432Node.
  ChooseView(m.platform, RegistryView::k64);
  EXPECT_TRUE(m.registry.KeyExists(kClassesRoot, "Only.ThirtyTwo.1"));
  EXPECT_TRUE(m.registry.KeyExists(kClassesRoot, std::string("Wow6432Node\\CLSID\\") + kOnly32));
  m.registry.SetString(kCurrentUser, "Software\\Tessaline\\Corvane\\General", "x", "1");
  ChooseView(m.platform, RegistryView::k32);
  EXPECT_TRUE(m.registry.KeyExists(kCurrentUser, "Software\\Tessaline\\Corvane\\General"));
}

TEST_F(RegistryViewsTest, OneViewOfThirtyTwoBitWindowsIgnoresTheChoice) {
  m.registry.set_single_view();
  AddDllClass(RegistryView::k32, kOnly32, "Only.ThirtyTwo.1", "C:\\x32.dll");
  EXPECT_EQ(ScannedNames(RegistryView::k64), std::vector<std::string>{"Only.ThirtyTwo.1"});
  EXPECT_FALSE(m.registry.KeyExists(kClassesRoot, "Wow6432Node"));
}

TEST_F(RegistryViewsTest, RemovalInOneViewLeavesTheClassAndItsSharedKeysInTheOther) {
  AddDllClass(RegistryView::k32, kShared, "Both.Views.1", "C:\\gone32.dll");
  AddDllClass(RegistryView::k64, kShared, "Both.Views.1", "C:\\gone64.dll");
  ChooseView(m.platform, RegistryView::k32);
  CDllServerObject record(m.platform, kShared);
  std::string log;
  EXPECT_EQ(record.RemoveFromRegistry(log), 1);
  EXPECT_FALSE(ClassIn(RegistryView::k32, kShared));
  EXPECT_TRUE(ClassIn(RegistryView::k64, kShared));
  EXPECT_TRUE(m.registry.KeyExists(kClassesRoot, "Both.Views.1"));
  EXPECT_EQ(m.registry.view(), RegistryView::k32);
  // Once no view has the class any more, its ProgID goes too.
  ChooseView(m.platform, RegistryView::k64);
  CDllServerObject last(m.platform, kShared);
  EXPECT_EQ(last.RemoveFromRegistry(log), 1);
  EXPECT_FALSE(m.registry.KeyExists(kClassesRoot, "Both.Views.1"));
}

TEST_F(RegistryViewsTest, BackupsPutEachClassBackIntoItsOwnView) {
  AddDllClass(RegistryView::k32, kOnly32, "Only.ThirtyTwo.1", "C:\\x32.dll");
  AddDllClass(RegistryView::k64, kOnly64, "Only.SixtyFour.1", "C:\\x64.dll");
  for (auto [view, clsid] : {std::pair{RegistryView::k64, kOnly64},
                             std::pair{RegistryView::k32, kOnly32}}) {
    ChooseView(m.platform, view);
    CDllServerObject record(m.platform, clsid);
    std::string log;
    ASSERT_EQ(record.RemoveFromRegistry(log), 1);
    ASSERT_FALSE(ClassIn(view, clsid));
    const std::string backup = BackupOf(clsid);
    const std::string named = std::string(view == RegistryView::k32 ? "Wow6432Node\\" : "") +
                              "CLSID\\" + clsid + "\\InprocServer32]";
    EXPECT_NE(backup.find("[HKEY_CLASSES_ROOT\\" + named), std::string::npos) << backup;
    ImportAs64BitEditor(backup);
    EXPECT_TRUE(ClassIn(view, clsid));
    EXPECT_FALSE(ClassIn(view == RegistryView::k32 ? RegistryView::k64 : RegistryView::k32, clsid));
  }
  EXPECT_EQ(ScannedNames(RegistryView::k32), std::vector<std::string>{"Only.ThirtyTwo.1"});
  EXPECT_EQ(ScannedNames(RegistryView::k64), std::vector<std::string>{"Only.SixtyFour.1"});
}

// Corvane's own restore puts a 32-bit view's class back into that view even while the other
// view is shown, and leaves the other view's class of the same CLSID alone.
TEST_F(RegistryViewsTest, RestoreGoesBackIntoTheViewTheClassCameFrom) {
  AddDllClass(RegistryView::k32, kOnly32, "Only.ThirtyTwo.1", "C:\\x32.dll");
  ChooseView(m.platform, RegistryView::k32);
  CDllServerObject record(m.platform, kOnly32);
  std::string log;
  ASSERT_EQ(record.RemoveFromRegistry(log), 1);
  std::string path;
  for (const std::string& file : m.files.Paths())
    if (file.find(kOnly32) != std::string::npos) path = file;
  ASSERT_FALSE(path.empty());
  ChooseView(m.platform, RegistryView::k64);
  const RestoreResult result = RestoreBackup(m.platform, path, false);
  EXPECT_EQ(result.status, RestoreStatus::kRestored) << result.message;
  EXPECT_TRUE(ClassIn(RegistryView::k32, kOnly32));
  EXPECT_FALSE(ClassIn(RegistryView::k64, kOnly32));
  EXPECT_EQ(m.registry.view(), RegistryView::k64);
}

constexpr int kBuildBits = sizeof(void*) == 8 ? 64 : 32;

std::vector<std::uint8_t> ImageOf(int bits) {
  PeLayout layout;
  layout.pe32_plus = bits == 64;
  return BuildPeImage({"KERNEL32.dll"}, layout).bytes;
}

TEST_F(RegistryViewsTest, ImageBitsComeFromTheOptionalHeader) {
  EXPECT_EQ(ReadImageBits(ImageOf(32).data(), ImageOf(32).size()), 32);
  EXPECT_EQ(ReadImageBits(ImageOf(64).data(), ImageOf(64).size()), 64);
  std::vector<std::uint8_t> cut = ImageOf(64);
  cut.resize(0x40 + 24 + 1);  // ends inside the magic
  EXPECT_EQ(ReadImageBits(cut.data(), cut.size()), 0);
  std::vector<std::uint8_t> far = ImageOf(32);
  far[0x3C] = far[0x3D] = far[0x3E] = far[0x3F] = 0xFF;  // PE header beyond the end
  EXPECT_EQ(ReadImageBits(far.data(), far.size()), 0);
}

TEST_F(RegistryViewsTest, ServersOfTheOtherBitnessGoThroughItsRegsvr32) {
  const int other = kBuildBits == 64 ? 32 : 64;
  const std::string path = "C:\\Servers\\other.dll";
  m.files.AddFile(path, 4096);
  m.files.SetContents(path, ImageOf(other));
  m.files.SetVariable("SystemRoot", "C:\\Windows");
  const std::string regsvr32 = other == 64 ? "\"C:\\Windows\\Sysnative\\regsvr32.exe\""
                                           : "\"C:\\Windows\\SysWOW64\\regsvr32.exe\"";

  EXPECT_EQ(RegisterServerFile(m.platform, path), 1);
  EXPECT_EQ(UnregisterServerFile(m.platform, path), 1);
  ASSERT_EQ(m.modules.commands().size(), 2u);
  EXPECT_EQ(m.modules.commands()[0], regsvr32 + " /s \"" + path + "\"");
  EXPECT_EQ(m.modules.commands()[1], regsvr32 + " /s /u \"" + path + "\"");
  EXPECT_EQ(m.notice.notifications[0].text, path + "\n\nRegistered Successfully !");
  EXPECT_EQ(m.modules.LoadedCount(), 0u);

  // The exit code decides, and every failure names the file.
  m.modules.set_exit_code(5);
  EXPECT_EQ(RegisterServerFile(m.platform, path), 0);
  m.modules.set_exit_code(-1);
  EXPECT_EQ(UnregisterServerFile(m.platform, path), 0);
  ASSERT_EQ(m.notice.notifications.size(), 4u);
  for (std::size_t i = 2; i < 4; ++i) {
    EXPECT_NE(m.notice.notifications[i].text.find(path), std::string::npos);
    EXPECT_EQ(m.notice.notifications[i].mode, kMessageDialogMode);
  }
  EXPECT_EQ(m.notice.cursor_depth, 0);
}

TEST_F(RegistryViewsTest, ServersOfThisBuildsBitnessStayInProcess) {
  const std::string path = "C:\\Servers\\same.dll";
  m.files.AddFile(path, 4096);
  m.files.SetContents(path, ImageOf(kBuildBits));
  m.modules.AddModule(path, {{kRegisterEntry, [] { return 0L; }}});
  EXPECT_EQ(RegisterServerFile(m.platform, path), 1);
  EXPECT_TRUE(m.modules.commands().empty());
}

TEST_F(RegistryViewsTest, ReportsNameTheirViewAndCsvCanCarryItPerRow) {
  AddDllClass(RegistryView::k64, kOnly64, "Only.SixtyFour.1", "C:\\x64.dll");
  ChooseView(m.platform, RegistryView::k64);
  CDllServerObject record(m.platform, kOnly64);
  std::vector<CRegisteredObject*> records{&record};
  const ReportPageInfo info{"DLL Servers", "HOST",     "today",
                            "C:\\app",      kMakerSite, ReportViewTitle(m.registry)};
  EXPECT_EQ(info.view, "64-bit Classes");
  InventoryChoices choices;
  choices.attributes = {0};
  EXPECT_NE(WriteInventoryReport(m.platform, records, choices, info)
                .find("Registry View: <strong>64-bit Classes</strong><BR>"),
            std::string::npos);
  choices.format = kReportText;
  EXPECT_NE(WriteInventoryReport(m.platform, records, choices, info)
                .find("; Registry view: 64-bit Classes\n"),
            std::string::npos);
  choices.view_column = "64";
  EXPECT_NE(WriteInventoryReport(m.platform, records, choices, info)
                .find("\"View\",\"ProgID\"\n\n\"64\",\"Only.SixtyFour.1\"\n"),
            std::string::npos);
  choices.header = false;
  EXPECT_EQ(WriteInventoryReport(m.platform, records, choices, info),
            "\"64\",\"Only.SixtyFour.1\"\n");
  m.registry.set_single_view();
  EXPECT_EQ(ReportViewTitle(m.registry), "");
}

TEST_F(RegistryViewsTest, TheChosenViewIsKeptInTheSettings) {
  Settings settings;
  settings.registry_view = 32;
  SaveSettings(m.registry, settings);
  Settings loaded;
  LoadSettings(m.registry, loaded);
  EXPECT_EQ(SettingsView(loaded.registry_view), RegistryView::k32);
  EXPECT_EQ(SettingsView(64), RegistryView::k64);
  EXPECT_EQ(SettingsView(0), kBuildView);
  EXPECT_EQ(SettingsView(7), kBuildView);
}

}  // namespace
}  // namespace corvane
