// The scans against the real registry and files: classes written below a scratch
// HKEY_CLASSES_ROOT, servers that are real files of the prefix.
#include <gtest/gtest.h>

#include "catalogue/delete_registry_key.h"
#include "catalogue/object_kinds.h"
#include "catalogue/registry_scan.h"
#include "tests/win32/scratch_classes.h"

namespace corvane {
namespace {

class ScanFixtures : public ::testing::Test {
 protected:
  ScanFixtures() : folder_("corvane scan test") {
    control_ = folder_.AddFile("Controls\\grid control.ocx.dll");
    exe_ = folder_.AddFile("Program Files\\App\\server.exe");
    long_dll_ = folder_.AddFile("Long Folder Name\\a long server name.dll");
  }

  void AddClass(const std::string& clsid, const std::string& prog_id,
                const std::string& subkey, const std::string& server) {
    if (!prog_id.empty()) classes_.Set("CLSID\\" + clsid + "\\ProgID", nullptr, prog_id);
    classes_.Set("CLSID\\" + clsid + "\\" + subkey, nullptr, server);
  }
  const CRegisteredObject* Only(Category category) {
    EXPECT_EQ(lists_.list(category).size(), 1u) << CategoryName(category);
    return lists_.list(category).empty() ? nullptr : lists_.list(category)[0].get();
  }

  ScratchFolder folder_;
  ScratchClasses classes_;
  Win32Platform win32_;
  CObjectLists lists_;
  std::string control_, exe_, long_dll_;
};

TEST_F(ScanFixtures, ControlIsListedTwiceAndExeServerByDescription) {
  AddClass("{C0000000-0000-0000-0000-000000000001}", "Fixture.Grid.1", "InprocServer32", control_);
  classes_.AddKey("CLSID\\{C0000000-0000-0000-0000-000000000001}\\Control");
  AddClass("{E0000000-0000-0000-0000-000000000001}", "Fixture.App.1", "LocalServer32",
           exe_ + " /automation");
  classes_.Set("CLSID\\{E0000000-0000-0000-0000-000000000001}", nullptr, "Fixture Application");
  ScanRegistry(win32_.platform, lists_);

  const CRegisteredObject* control = Only(kControls);
  const CRegisteredObject* dll = Only(kDllServers);
  const CRegisteredObject* exe = Only(kExeServers);
  ASSERT_TRUE(control && dll && exe);
  EXPECT_EQ(control->GetFilePath(), control_);
  EXPECT_EQ(control->exists(), 1);
  EXPECT_EQ(control->GetName(), "Fixture.Grid.1");
  EXPECT_EQ(dll->clsid(), control->clsid());
  EXPECT_EQ(exe->GetName(), "Fixture Application");
  EXPECT_EQ(exe->GetFilePath(), exe_ + " /automation");
  EXPECT_EQ(exe->exists(), 1);
}

TEST_F(ScanFixtures, QuotedPathWithArgumentsAndMissingFilesAreMisbehaved) {
  AddClass("{E0000000-0000-0000-0000-000000000002}", "Fixture.Quoted", "LocalServer32",
           "\"" + exe_ + "\" -Embedding");
  AddClass("{D0000000-0000-0000-0000-000000000002}", "Fixture.Missing", "InprocServer32",
           folder_.path() + "\\missing.dll");
  ScanRegistry(win32_.platform, lists_);
  const CRegisteredObject* exe = Only(kExeServers);
  const CRegisteredObject* dll = Only(kDllServers);
  ASSERT_TRUE(exe && dll);
  EXPECT_EQ(exe->GetFilePath(), exe_ + "\" -Embedding");
  EXPECT_EQ(exe->exists(), 0);
  EXPECT_EQ(dll->exists(), 0);
}

TEST_F(ScanFixtures, SystemRootExpandsToTheRealSystemFolder) {
  AddClass("{D0000000-0000-0000-0000-000000000003}", "Fixture.Ole", "InprocServer32",
           "%SystemRoot%\\system32\\ole32.dll");
  ScanRegistry(win32_.platform, lists_);
  const CRegisteredObject* dll = Only(kDllServers);
  ASSERT_TRUE(dll);
  char windows[MAX_PATH];
  GetWindowsDirectoryA(windows, MAX_PATH);
  EXPECT_STRCASEEQ(dll->GetFilePath().c_str(),
                   (std::string(windows) + "\\system32\\ole32.dll").c_str());
  EXPECT_EQ(dll->exists(), 1);
}

TEST_F(ScanFixtures, OverlongKeyNameDoesNotHideLaterClasses) {
  AddClass("{D0000000-0000-0000-0000-000000000004}", "Fixture.Before", "InprocServer32", "a.dll");
  AddClass("{" + std::string(80, 'L'), "Fixture.Long", "InprocServer32", "b.dll");
  AddClass("{Z0000000-0000-0000-0000-000000000004}", "Fixture.After", "InprocServer32", "c.dll");
  ScanRegistry(win32_.platform, lists_);
  ASSERT_EQ(lists_.list(kDllServers).size(), 2u);
  EXPECT_EQ(lists_.list(kDllServers)[1]->GetName(), "Fixture.After");
}

TEST_F(ScanFixtures, LookupFindsClassesWithoutProgIdAndByShortName) {
  AddClass("{D0000000-0000-0000-0000-000000000005}", "", "InprocServer32", long_dll_);
  ScanRegistry(win32_.platform, lists_);
  EXPECT_TRUE(lists_.list(kDllServers).empty());

  char short_path[MAX_PATH] = {};
  ASSERT_GT(GetShortPathNameA(long_dll_.c_str(), short_path, MAX_PATH), 0u);
  ASSERT_STRCASENE(short_path, long_dll_.c_str());
  std::string upper = long_dll_;
  CharUpperA(&upper[0]);
  for (const std::string& path : {long_dll_, std::string(short_path), upper}) {
    auto record = FindObjectByFile(win32_.platform, path);
    ASSERT_NE(record, nullptr) << path;
    EXPECT_EQ(record->clsid(), "{D0000000-0000-0000-0000-000000000005}");
    EXPECT_EQ(record->GetName(), "Unknown");
  }
  EXPECT_EQ(FindObjectByFile(win32_.platform, folder_.path() + "\\elsewhere.dll"), nullptr);
  EXPECT_EQ(win32_.notice.dialog_shown, 4);
  EXPECT_FALSE(win32_.notice.dialog_open);
}

TEST_F(ScanFixtures, SameFileNameInAnotherFolderIsTakenAsTheSameFile) {
  const std::string other = folder_.AddFile("Other\\server.exe");
  AddClass("{E0000000-0000-0000-0000-000000000006}", "", "LocalServer32", exe_);
  auto record = FindObjectByFile(win32_.platform, other);
  ASSERT_NE(record, nullptr);
  EXPECT_NE(dynamic_cast<CExeServerObject*>(record.get()), nullptr);
}

TEST_F(ScanFixtures, DeleteRegistryKeyRemovesTheWholeClassOnly) {
  classes_.AddKey("CLSID\\{D0000000-0000-0000-0000-000000000007}\\InprocServer32");
  classes_.AddKey("CLSID\\{D0000000-0000-0000-0000-000000000007}\\Implemented Categories\\{X}");
  classes_.AddKey("CLSID\\{D0000000-0000-0000-0000-000000000008}\\InprocServer32");
  DeleteRegistryKey(win32_.platform, kClassesRoot, "CLSID\\{D0000000-0000-0000-0000-000000000007}");
  EXPECT_FALSE(classes_.Exists("CLSID\\{D0000000-0000-0000-0000-000000000007}"));
  EXPECT_TRUE(classes_.Exists("CLSID\\{D0000000-0000-0000-0000-000000000008}\\InprocServer32"));
  EXPECT_TRUE(win32_.notice.messages.empty());
}

}  // namespace
}  // namespace corvane
