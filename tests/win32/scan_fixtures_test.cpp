// The scans against the real registry and files: classes written below a scratch
// HKEY_CLASSES_ROOT, servers that are real files of the prefix.
#include <gtest/gtest.h>

#include "catalogue/attributes.h"
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

TEST_F(ScanFixtures, QuotedServerWithArgumentsIsTheFileInsideTheQuotes) {
  char windows[MAX_PATH];
  GetWindowsDirectoryA(windows, MAX_PATH);
  const std::string notepad = std::string(windows) + "\\system32\\notepad.exe";
  AddClass("{E0000000-0000-0000-0000-000000000002}", "Fixture.Notepad", "LocalServer32",
           "\"" + notepad + "\" /Automation");
  AddClass("{E0000000-0000-0000-0000-000000000003}", "Fixture.Quoted", "LocalServer32",
           "\"" + exe_ + "\" -Embedding");
  AddClass("{E0000000-0000-0000-0000-000000000004}", "Fixture.Gone", "LocalServer32",
           "\"" + folder_.path() + "\\Program Files\\Gone\\x.exe\" -Embedding");
  AddClass("{D0000000-0000-0000-0000-000000000002}", "Fixture.Missing", "InprocServer32",
           folder_.path() + "\\missing.dll");
  ScanRegistry(win32_.platform, lists_);
  const auto& exes = lists_.list(kExeServers);
  ASSERT_EQ(exes.size(), 3u);
  EXPECT_EQ(exes[0]->GetFilePath(), notepad);
  EXPECT_EQ(exes[0]->exists(), 1);
  EXPECT_EQ(exes[0]->GetServerCommand(), "\"" + notepad + "\" /Automation");
  EXPECT_EQ(exes[1]->GetFilePath(), exe_);
  EXPECT_EQ(exes[1]->exists(), 1);
  EXPECT_EQ(exes[2]->exists(), 0);
  const CRegisteredObject* dll = Only(kDllServers);
  ASSERT_TRUE(dll);
  EXPECT_EQ(dll->exists(), 0);
  auto found = FindObjectByFile(win32_.platform, notepad);
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(found->clsid(), "{E0000000-0000-0000-0000-000000000002}");
}

// The programs run with UTF-8 as their ANSI code page, so a server outside the local code
// page is read and found whole.
TEST_F(ScanFixtures, ServerPathOutsideTheLocalCodePageIsFound) {
  ASSERT_EQ(GetACP(), static_cast<UINT>(CP_UTF8));
  const std::string folder = folder_.path() + "\\Программы";
  const std::string dll = folder + "\\файл.dll";
  auto wide = [](const std::string& text) {
    std::wstring out(text.size() + 1, L'\0');
    out.resize(MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, &out[0],
                                   static_cast<int>(out.size())) - 1);
    return out;
  };
  // Made and registered through the wide calls, as an installer would.
  ASSERT_TRUE(CreateDirectoryW(wide(folder).c_str(), nullptr));
  HANDLE file = CreateFileW(wide(dll).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(file, "MZ", 2, &written, nullptr);
  CloseHandle(file);
  const char clsid[] = "{D0000000-0000-0000-0000-00000000000C}";
  classes_.Set(std::string("CLSID\\") + clsid + "\\ProgID", nullptr, "Fixture.Cyrillic");
  HKEY server = nullptr;
  ASSERT_EQ(RegCreateKeyW(HKEY_CLASSES_ROOT, wide(std::string("CLSID\\") + clsid +
                                                  "\\InprocServer32").c_str(), &server),
            ERROR_SUCCESS);
  const std::wstring value = wide(dll);
  RegSetValueExW(server, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(server);

  ScanRegistry(win32_.platform, lists_);
  CRegisteredObject* record = lists_.list(kDllServers).empty() ? nullptr
                                                                : lists_.list(kDllServers)[0].get();
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->GetFilePath(), dll);
  EXPECT_EQ(record->exists(), 1);
  EXPECT_EQ(record->GetAttribute(kAttrFileSize), "2 Bytes");
  DeleteFileW(wide(dll).c_str());
  RemoveDirectoryW(wide(folder).c_str());
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
