// The catalogue scan and the lookup by file.
#include <gtest/gtest.h>

#include "catalogue/object_kinds.h"
#include "catalogue/registry_scan.h"
#include "tests/unit/memory_platform.h"

namespace corvane {
namespace {

class ScanTest : public ::testing::Test {
 protected:
  void AddClass(const std::string& clsid, const std::string& prog_id,
                const std::vector<std::pair<std::string, std::string>>& keys) {
    if (!prog_id.empty()) env.AddClass(clsid, "ProgID", prog_id);
    for (const auto& [subkey, value] : keys) env.AddClass(clsid, subkey, value);
  }
  std::vector<std::string> Clsids(Category category) {
    std::vector<std::string> result;
    for (const auto& record : lists.list(category)) result.push_back(record->clsid());
    return result;
  }
  void Scan() {
    lists.Clear();
    ScanRegistry(env.platform, lists);
    EXPECT_EQ(env.registry.OpenHandleCount(), 0u);
  }
  MemoryPlatform env;
  CObjectLists lists;
};

using Names = std::vector<std::string>;

TEST_F(ScanTest, ClassifiesEachClassByItsKeys) {
  AddClass("{ControlDll}", "A.Control", {{"Control", ""}, {"InprocServer32", "c:\\a.dll"}});
  AddClass("{ControlOcx}", "B.Control", {{"Control", ""}, {"InprocServer32", "c:\\b.ocx"}});
  AddClass("{ExeAndDll}", "C.Server", {{"LocalServer32", "c:\\c.exe"}, {"InprocServer32", "c.dll"}});
  AddClass("{ControlExe}", "D.Both", {{"Control", ""}, {"LocalServer32", "c:\\d.exe"}});
  AddClass("{PlainDll}", "E.Dll", {{"InprocServer32", "c:\\e.dll"}});
  AddClass("{Ocx}", "F.Ocx", {{"InprocServer32", "c:\\f.ocx"}});
  AddClass("{NoServer}", "G.Nothing", {});
  AddClass("{NoProgId}", "", {{"Control", ""}, {"InprocServer32", "c:\\h.dll"}});
  Scan();
  EXPECT_EQ(Clsids(kControls), (Names{"{ControlDll}", "{ControlOcx}", "{ControlExe}"}));
  EXPECT_EQ(Clsids(kDllServers), (Names{"{ControlDll}", "{ExeAndDll}", "{PlainDll}"}));
  EXPECT_EQ(Clsids(kExeServers), (Names{"{ExeAndDll}"}));
  // The two records of one class are independent, of their own kinds.
  EXPECT_NE(lists.list(kControls)[0].get(), lists.list(kDllServers)[0].get());
  EXPECT_NE(dynamic_cast<CControlObject*>(lists.list(kControls)[0].get()), nullptr);
  EXPECT_NE(dynamic_cast<CDllServerObject*>(lists.list(kDllServers)[0].get()), nullptr);
  EXPECT_EQ(lists.list(kExeServers)[0]->GetFilePath(), "c:\\c.exe");
  EXPECT_EQ(lists.list(kExeServers)[0]->exists(), 0);
  EXPECT_EQ(lists.list(kDllServers)[1]->exists(), 1);  // a bare name
  EXPECT_EQ(env.notice.cursor_shown, 1);
  EXPECT_EQ(env.notice.cursor_depth, 0);
  EXPECT_EQ(env.notice.dialog_shown, 0);
}

TEST_F(ScanTest, OverlongNameIsSkippedAndTheScanGoesOn) {
  AddClass("{Before}", "A", {{"InprocServer32", "a.dll"}});
  const std::string long62(62, 'x'), long63(63, 'y');
  AddClass(long62, "B", {{"InprocServer32", "b.dll"}});
  AddClass(long63, "C", {{"InprocServer32", "c.dll"}});
  AddClass("{After}", "D", {{"InprocServer32", "d.dll"}});
  Scan();
  EXPECT_EQ(Clsids(kDllServers), (Names{"{Before}", long62, "{After}"}));
}

TEST_F(ScanTest, EnumerationErrorEndsTheWalkWithWhatWasGathered) {
  for (const char* clsid : {"{1}", "{2}", "{3}"}) AddClass(clsid, "P", {{"InprocServer32", "x.dll"}});
  env.registry.FailEnumKeyAt("HKEY_CLASSES_ROOT\\CLSID", 2, 1009);
  Scan();
  EXPECT_EQ(Clsids(kDllServers), (Names{"{1}", "{2}"}));
}

TEST_F(ScanTest, RefusedOpensCountAsAbsentKeys) {
  AddClass("{1}", "P", {{"InprocServer32", "x.dll"}});
  AddClass("{2}", "P", {{"InprocServer32", "x.dll"}});
  env.registry.RefuseOpen("HKEY_CLASSES_ROOT\\CLSID\\{1}\\ProgID");
  Scan();
  EXPECT_EQ(Clsids(kDllServers), (Names{"{2}"}));
  env.registry.RefuseOpen("HKEY_CLASSES_ROOT\\CLSID");
  Scan();
  EXPECT_TRUE(lists.list(kDllServers).empty());
}

class LookupTest : public ScanTest {
 protected:
  std::unique_ptr<CRegisteredObject> Find(const std::string& path) {
    auto record = FindObjectByFile(env.platform, path);
    EXPECT_EQ(env.registry.OpenHandleCount(), 0u);
    EXPECT_FALSE(env.notice.dialog_open);
    EXPECT_EQ(env.notice.cursor_depth, 0);
    return record;
  }
};

TEST_F(LookupTest, FindsClassesWithoutProgIdByCaseBlindPath) {
  AddClass("{Other}", "O", {{"InprocServer32", "C:\\Other\\o.dll"}});
  AddClass("{NoProgId}", "", {{"InprocServer32", "C:\\Dir\\Server.DLL"}});
  auto record = Find("c:\\dir\\server.dll");
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->clsid(), "{NoProgId}");
  EXPECT_EQ(record->GetName(), "Unknown");
  EXPECT_NE(dynamic_cast<CDllServerObject*>(record.get()), nullptr);
  EXPECT_EQ(env.notice.dialog_shown, 1);
}

TEST_F(LookupTest, ControlBeforeDllBeforeExe) {
  AddClass("{Both}", "", {{"Control", ""}, {"InprocServer32", "C:\\c.dll"}});
  EXPECT_NE(dynamic_cast<CControlObject*>(Find("C:\\c.dll").get()), nullptr);
  AddClass("{Exe}", "", {{"LocalServer32", "C:\\e.exe"}, {"InprocServer32", "C:\\e.dll"}});
  EXPECT_EQ(Find("C:\\e.exe"), nullptr);  // classified as a DLL server, whose file is e.dll
  EXPECT_NE(dynamic_cast<CDllServerObject*>(Find("C:\\e.dll").get()), nullptr);
  AddClass("{OnlyExe}", "", {{"LocalServer32", "\"C:\\x.exe\""}});
  EXPECT_NE(dynamic_cast<CExeServerObject*>(Find("C:\\X.EXE").get()), nullptr);
}

TEST_F(LookupTest, ShortNameFindsTheLongPath) {
  const std::string long_path = "C:\\Program Files\\Vendor\\Long Server Name.dll";
  const std::string short_path = "C:\\PROGRA~1\\Vendor\\LONGSE~1.DLL";
  env.files.AddFile(long_path, 100, "LONGSE~1.DLL");
  env.files.AddAlias(short_path, long_path);
  AddClass("{Long}", "", {{"InprocServer32", long_path}});
  auto record = Find(short_path);
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->clsid(), "{Long}");
}

TEST_F(LookupTest, SameNameInAnotherFolderIsTakenAsTheSameFile) {
  env.files.AddFile("C:\\One\\server.dll");
  env.files.AddFile("C:\\Two\\server.dll");
  AddClass("{One}", "", {{"InprocServer32", "C:\\One\\server.dll"}});
  ASSERT_NE(Find("C:\\Two\\server.dll"), nullptr);
  // Names are compared byte for byte.
  env.files.AddFile("C:\\Three\\SERVER.dll");
  EXPECT_EQ(Find("C:\\Three\\SERVER.dll"), nullptr);
}

TEST_F(LookupTest, MissingFileMatchesOnlyByText) {
  AddClass("{Gone}", "", {{"InprocServer32", "C:\\Gone\\gone.dll"}});
  EXPECT_NE(Find("C:\\GONE\\gone.dll"), nullptr);
  EXPECT_EQ(Find("C:\\Elsewhere\\gone.dll"), nullptr);
}

TEST_F(LookupTest, ReadsLongNamesAndStopsAtTheFirstMatch) {
  const std::string long_name(300, 'z');
  AddClass(long_name, "", {{"InprocServer32", "C:\\same.dll"}});
  AddClass("{Second}", "", {{"InprocServer32", "C:\\same.dll"}});
  auto record = Find("C:\\same.dll");
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->clsid(), long_name);
}

TEST_F(LookupTest, UnopenableClsidKeyShowsNoDialog) {
  env.registry.RefuseOpen("HKEY_CLASSES_ROOT\\CLSID");
  EXPECT_EQ(Find("C:\\x.dll"), nullptr);
  EXPECT_EQ(env.notice.dialog_shown, 0);
  EXPECT_EQ(env.notice.cursor_shown, 1);
}

}  // namespace
}  // namespace corvane
