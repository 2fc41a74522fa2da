// The scan reads each class once and finds each server file once, and its records answer as
// records that read everything themselves would.
#include <gtest/gtest.h>

#include <map>

#include "bench/plain_scan.h"
#include "catalogue/object_kinds.h"
#include "catalogue/registry_scan.h"
#include "platform/memory/memory_files.h"
#include "platform/memory/memory_modules.h"
#include "platform/memory/memory_registry.h"
#include "platform/memory/recording_notice.h"
#include "platform/text.h"

namespace corvane {
namespace {

class CountingFiles : public MemoryFiles {
 public:
  bool FindFile(const char* path, FoundFile* found) override {
    ++finds[ToUpper(path)];
    return MemoryFiles::FindFile(path, found);
  }
  std::map<std::string, int> finds;
};

class ScanOnceTest : public ::testing::Test {
 protected:
  void AddClass(const std::string& clsid, const std::string& subkey, const std::string& value) {
    const std::string key = "CLSID\\" + clsid + (subkey.empty() ? "" : "\\" + subkey);
    registry.SetString(kClassesRoot, key, "", value);
  }
  // Classes of every kind and every server path form the scan has rules for.
  void AddVariedClasses() {
    files.AddFile("C:\\Servers\\shared.dll");
    files.AddFile("C:\\Program Files\\App\\app.exe");
    files.AddFile("C:\\Windows\\system32\\ctl.ocx");
    files.SetVariable("SystemRoot", "C:\\Windows");
    const std::string too_long = "C:\\" + std::string(300, 'x') + ".dll";
    struct Class {
      const char* clsid;
      const char* prog_id;
      std::vector<std::pair<std::string, std::string>> keys;
    };
    const std::vector<Class> classes = {
        {"{01}", "Shared.One", {{"InprocServer32", "C:\\Servers\\shared.dll"}}},
        {"{02}", "Shared.Two", {{"InprocServer32", "c:\\servers\\SHARED.DLL"}}},
        {"{03}", "Quoted", {{"InprocServer32", "\"C:\\Servers\\shared.dll\""}}},
        {"{04}", "Ctl", {{"Control", ""}, {"InprocServer32", "%SystemRoot%\\system32\\ctl.ocx"}}},
        {"{05}", "CtlDll", {{"Control", ""}, {"InprocServer32", "C:\\Missing\\ctl.dll"}}},
        {"{06}", "App", {{"LocalServer32", "C:\\Program Files\\App\\app.exe /automation"}}},
        {"{07}", "App2", {{"LocalServer32", "\"C:\\Program Files\\App\\app.exe\" -Embedding"}}},
        {"{08}", "Both", {{"LocalServer32", "C:\\Gone\\both.exe"}, {"InprocServer32", "both.dll"}}},
        {"{09}", "", {{"InprocServer32", "C:\\Servers\\shared.dll"}}},
        {"{10}", "Long", {{"InprocServer32", too_long}}},
        {"{11}", "LongCtl", {{"Control", ""}, {"InprocServer32", too_long}}},
        {"{12}", "Dll", {{"InprocServer32", "DLL"}}},
        {"{13}", "CtlExe", {{"Control", ""}, {"LocalServer32", "C:\\Program Files\\App\\app.exe"}}},
        {"{14}", "Empty", {{"InprocServer32", ""}}},
    };
    for (const Class& each : classes) {
      if (*each.prog_id != '\0') AddClass(each.clsid, "ProgID", each.prog_id);
      for (const auto& [subkey, value] : each.keys) AddClass(each.clsid, subkey, value);
    }
    AddClass("{06}", "", "App server");  // an EXE server's description names it
    AddClass("{07}", "", "");
  }

  MemoryRegistry registry;
  CountingFiles files;
  MemoryModules modules;
  RecordingNotice notice;
  Platform platform{registry, files, modules, notice};
};

TEST_F(ScanOnceTest, ListsWhatThePlainScanListsAndFindsEachPathOnce) {
  AddVariedClasses();
  CObjectLists plain;
  PlainScanRegistry(platform, plain);
  files.finds.clear();

  CObjectLists lists;
  ScanRegistry(platform, lists);
  EXPECT_EQ(ListLines(lists), ListLines(plain));
  EXPECT_EQ(lists.list(kExeServers)[0]->GetName(), "App server");
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
  for (const auto& [path, count] : files.finds) EXPECT_EQ(count, 1) << path;
  // An EXE server's path with arguments is found through the text that names its file.
  EXPECT_EQ(files.finds.count("C:\\PROGRAM FILES\\APP\\APP.EXE /AUTOMATION"), 0u);
}

TEST_F(ScanOnceTest, EveryScanFindsFilesAnew) {
  AddClass("{01}", "ProgID", "Late");
  AddClass("{01}", "InprocServer32", "C:\\Servers\\late.dll");
  CObjectLists before;
  ScanRegistry(platform, before);
  EXPECT_EQ(before.list(kDllServers)[0]->exists(), 0);
  files.AddFile("C:\\Servers\\late.dll");
  CObjectLists after;
  ScanRegistry(platform, after);
  EXPECT_EQ(after.list(kDllServers)[0]->exists(), 1);
}

TEST_F(ScanOnceTest, RecordKeepsItsNameUntilToldItsValuesChanged) {
  AddClass("{01}", "ProgID", "Old.Name");
  AddClass("{01}", "LocalServer32", "C:\\a.exe");
  CObjectLists lists;
  ScanRegistry(platform, lists);
  CRegisteredObject& record = *lists.list(kExeServers)[0];
  AddClass("{01}", "ProgID", "New.Name");
  EXPECT_EQ(record.GetName(), "Old.Name");
  record.ForgetNames();
  EXPECT_EQ(record.GetName(), "New.Name");
  AddClass("{01}", "", "Described");
  record.ForgetNames();
  EXPECT_EQ(record.GetName(), "Described");
}

}  // namespace
}  // namespace corvane
