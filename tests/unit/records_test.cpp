// Server path resolution, names and the catalogue container.
#include <gtest/gtest.h>

#include "catalogue/attributes.h"
#include "catalogue/object_kinds.h"
#include "catalogue/object_lists.h"
#include "catalogue/attributes.h"
#include "catalogue/remote_object.h"
#include "tools/computer_comparison.h"
#include "tests/unit/memory_platform.h"

namespace corvane {
namespace {

class RecordTest : public ::testing::Test {
 protected:
  RecordTest() { env.files.SetVariable("SystemRoot", "C:\\windows"); }
  std::unique_ptr<CRegisteredObject> Exe(const std::string& server) {
    env.AddClass("{E}", "LocalServer32", server);
    return std::make_unique<CExeServerObject>(env.platform, "{E}");
  }
  std::unique_ptr<CRegisteredObject> Dll(const std::string& server) {
    env.AddClass("{D}", "InprocServer32", server);
    return std::make_unique<CDllServerObject>(env.platform, "{D}");
  }
  MemoryPlatform env;
};

TEST_F(RecordTest, ArgumentsAfterAnExistingPathAreCutAway) {
  env.files.AddFile("C:\\Program Files\\App\\server.exe");
  auto record = Exe("C:\\Program Files\\App\\server.exe /automation");
  EXPECT_EQ(record->GetFilePath(), "C:\\Program Files\\App\\server.exe /automation");
  EXPECT_EQ(record->exists(), 1);
  EXPECT_EQ(Exe("C:\\Program Files\\App\\missing.exe /automation")->exists(), 0);
}

TEST_F(RecordTest, BareNamesCountAsPresentAndMissingPathsDoNot) {
  EXPECT_EQ(Dll("server.dll")->exists(), 1);
  EXPECT_EQ(Dll("C:\\Missing\\x.dll")->exists(), 0);
  EXPECT_EQ(Dll("C:\\Missing\\two words.dll")->exists(), 0);
}

TEST_F(RecordTest, AQuotedServerIsTheFileInsideTheQuotes) {
  env.files.AddFile("C:\\Dir\\x.exe");
  auto record = Exe("\"C:\\Dir\\x.exe\" -Embedding");
  EXPECT_EQ(record->GetFilePath(), "C:\\Dir\\x.exe");
  EXPECT_EQ(record->GetAttribute(kAttrFileLocation), "C:\\Dir\\x.exe");
  EXPECT_EQ(record->exists(), 1);
  EXPECT_EQ(record->GetServerCommand(), "\"C:\\Dir\\x.exe\" -Embedding");
  // Inside quotes a blank is part of the name: the text before it is not the file.
  env.files.AddFile("C:\\Program");
  EXPECT_EQ(Exe("\"C:\\Program Files\\Gone\\x.exe\" /a")->exists(), 0);
  EXPECT_EQ(Exe("\"%SystemRoot%\\x.exe\"")->GetFilePath(), "C:\\windows\\x.exe");
  // Without its closing quote the value is cut at blanks as an unquoted one.
  auto unclosed = Exe("\"C:\\Dir\\x.exe -Embedding");
  EXPECT_EQ(unclosed->GetFilePath(), "C:\\Dir\\x.exe -Embedding");
  EXPECT_EQ(unclosed->exists(), 1);
  EXPECT_EQ(unclosed->GetServerCommand(), "C:\\Dir\\x.exe -Embedding");
}

TEST_F(RecordTest, EmptyOrUnreadableServerValueGivesAnEmptyPresentPath) {
  auto empty = Dll("");
  EXPECT_EQ(empty->GetFilePath(), "");
  EXPECT_EQ(empty->exists(), 1);
  CDllServerObject absent(env.platform, "{NoSuchClass}");
  EXPECT_EQ(absent.GetFilePath(), "");
  EXPECT_EQ(absent.exists(), 1);
}

TEST_F(RecordTest, EnvironmentVariablesExpandWhenTheResultFits) {
  env.files.AddFile("C:\\windows\\system32\\ole32.dll");
  auto record = Dll("%SystemRoot%\\system32\\ole32.dll");
  EXPECT_EQ(record->GetFilePath(), "C:\\windows\\system32\\ole32.dll");
  EXPECT_EQ(record->exists(), 1);
  // 258 characters fit the 259 passed with the terminator; 259 do not.
  const std::string fits = "%SystemRoot%\\" + std::string(258 - 11, 'a');
  EXPECT_EQ(Dll(fits)->GetFilePath().size(), 258u);
  const std::string too_long = "%SystemRoot%\\" + std::string(259 - 11, 'a');
  EXPECT_EQ(Dll(too_long)->GetFilePath(), too_long);
}

TEST_F(RecordTest, NamesOfTheKinds) {
  env.AddClass("{D}", "InprocServer32", "x.dll");
  EXPECT_EQ(CDllServerObject(env.platform, "{D}").GetName(), "Unknown");
  env.AddClass("{D}", "ProgID", "X.Server.1");
  EXPECT_EQ(CDllServerObject(env.platform, "{D}").GetName(), "X.Server.1");

  env.AddClass("{E}", "ProgID", "Exe.App.1");
  EXPECT_EQ(CExeServerObject(env.platform, "{E}").GetName(), "Exe.App.1");
  env.registry.SetString(kClassesRoot, "CLSID\\{E}", "", "Exe Application");
  EXPECT_EQ(CExeServerObject(env.platform, "{E}").GetName(), "Exe Application");
  // Only EXE servers take the description.
  env.registry.SetString(kClassesRoot, "CLSID\\{D}", "", "Dll description");
  EXPECT_EQ(CDllServerObject(env.platform, "{D}").GetName(), "X.Server.1");
}

TEST_F(RecordTest, TypeLibNameUsesTheClassVersion) {
  env.AddClass("{C}", "TypeLib", "{LIB}");
  EXPECT_EQ(CControlObject(env.platform, "{C}").GetTypeLibName(), "Not Defined");
  env.AddClass("{C}", "Version", "1.0");
  env.registry.SetString(kClassesRoot, "TypeLib\\{LIB}\\2.0", "", "Other Library");
  EXPECT_EQ(CControlObject(env.platform, "{C}").GetTypeLibName(), "Not Defined");
  env.registry.SetString(kClassesRoot, "TypeLib\\{LIB}\\1.0", "", "My Library");
  EXPECT_EQ(CControlObject(env.platform, "{C}").GetTypeLibName(), "My Library");
  env.registry.SetString(kClassesRoot, "TypeLib\\{LIB}\\1.0", "", "");
  EXPECT_EQ(CControlObject(env.platform, "{C}").GetTypeLibName(), "Not Defined");
}

TEST_F(RecordTest, AppIdIsANamedValueOfTheClassKey) {
  env.AddClass("{E}", "LocalServer32", "x.exe");
  CExeServerObject record(env.platform, "{E}");
  EXPECT_EQ(record.GetAppID(), "");
  env.registry.SetString(kClassesRoot, "CLSID\\{E}", "AppID", "{APP}");
  EXPECT_EQ(record.GetAppID(), "{APP}");
  env.registry.RefuseOpen("HKEY_CLASSES_ROOT\\CLSID\\{E}");
  EXPECT_EQ(record.GetAppID(), "");
}

TEST_F(RecordTest, BareClsid) {
  EXPECT_EQ(Dll("x.dll")->GetBareClsid(), "D");
  CDllServerObject full(env.platform, "{00020420-0000-0000-C000-000000000046}");
  EXPECT_EQ(full.GetBareClsid(), "00020420-0000-0000-C000-000000000046");
  CDllServerObject bare(env.platform, "00020420-0000-0000-C000-000000000046");
  EXPECT_EQ(bare.GetBareClsid(), "00020420-0000-0000-C000-000000000046");
  CDllServerObject open_only(env.platform, "{abc");
  EXPECT_EQ(open_only.GetBareClsid(), "abc");
}

TEST_F(RecordTest, ComFileReadsNoClassKey) {
  // A stray key that a path built from an empty CLSID could reach.
  env.registry.SetString(kClassesRoot, "CLSID\\InprocServer32", "", "C:\\Missing\\x.dll");
  CComFileObject file(env.platform, "C:\\Picked\\control.ocx");
  EXPECT_EQ(file.GetFilePath(), "C:\\Picked\\control.ocx");
  EXPECT_EQ(file.exists(), 1);
  EXPECT_EQ(file.clsid(), "");
  EXPECT_EQ(file.GetName(), "Unknown");
}

TEST_F(RecordTest, SetServerSetsTheFlagFromThePathAlone) {
  CFileObject entry(env.platform);
  entry.SetServer("MISSING.DLL", "C:\\Missing\\missing.dll");
  EXPECT_EQ(entry.module_name(), "MISSING.DLL");
  EXPECT_EQ(entry.exists(), 1);
  entry.SetServer("NOTFOUND.DLL", "");
  EXPECT_EQ(entry.exists(), 0);
  entry.SetServer("OLE32.DLL", "%SystemRoot%\\system32\\ole32.dll");
  EXPECT_EQ(entry.GetFilePath(), "C:\\windows\\system32\\ole32.dll");
}

TEST(RemoteObject, ReadsBelowTheGivenRootAndLeavesItOpen) {
  MemoryRegistry registry;
  registry.SetString(kLocalMachine, "Software\\Classes\\CLSID\\{C}\\Version", "", "2.1");
  registry.AddKey(kLocalMachine, "Software\\Classes\\CLSID\\{N}");
  RegKey root = 0;
  ASSERT_EQ(registry.OpenKey(kLocalMachine, "Software\\Classes", kKeyRead, &root), kErrorSuccess);
  EXPECT_EQ(CRemoteObject(registry, root, "{C}").IsRegistered(), 1);
  EXPECT_EQ(CRemoteObject(registry, root, "{C}").GetVersion(), "2.1");
  EXPECT_EQ(CRemoteObject(registry, root, "{N}").GetVersion(), "");
  EXPECT_EQ(CRemoteObject(registry, root, "{X}").IsRegistered(), 0);
  EXPECT_EQ(registry.OpenHandleCount(), 1u);
  EXPECT_EQ(registry.CloseKey(root), kErrorSuccess);
}

// Counts its deletions, to see who deletes the records.
class CountedRecord : public CDllServerObject {
 public:
  CountedRecord(const Platform& platform, int* deleted)
      : CDllServerObject(platform, "{X}"), deleted_(deleted) {}
  ~CountedRecord() override { ++*deleted_; }

 private:
  int* deleted_;
};

TEST(VersionValue, NonStringVersionsReadAsNumbersHereAndOnOtherComputers) {
  MemoryPlatform env;
  const std::vector<std::uint8_t> number = {0x78, 0x56, 0x34, 0x12};
  env.AddClass("{D}", "InprocServer32", "C:\\x.dll");
  env.registry.SetBytes(kClassesRoot, "CLSID\\{D}\\Version", "", kRegDword, number);
  env.AddClass("{B}", "InprocServer32", "C:\\x.dll");
  env.registry.SetBytes(kClassesRoot, "CLSID\\{B}\\Version", "", kRegBinary, {0x01, 0xAB});
  CDllServerObject dword(env.platform, "{D}");
  CDllServerObject binary(env.platform, "{B}");
  EXPECT_EQ(dword.GetAttribute(kAttrVersion), "305419896");
  EXPECT_EQ(binary.GetAttribute(kAttrVersion), "01 AB");
  EXPECT_EQ(ComparedRecords({&dword})[0].local_version, "305419896");

  env.registry.SetBytes(kLocalMachine, "Software\\Classes\\CLSID\\{D}\\Version", "", kRegDword,
                        number);
  RegKey root = 0;
  ASSERT_EQ(env.registry.OpenKey(kLocalMachine, "Software\\Classes", kKeyRead, &root),
            kErrorSuccess);
  EXPECT_EQ(CRemoteObject(env.registry, root, "{D}").GetVersion(), "305419896");
  env.registry.CloseKey(root);
}

TEST(ObjectLists, CurrentCategoryAndRemoval) {
  MemoryPlatform env;
  int deleted = 0;
  CObjectLists lists;
  auto& dlls = lists.list(kDllServers);
  for (int i = 0; i < 3; ++i) dlls.push_back(std::make_unique<CountedRecord>(env.platform, &deleted));
  CRegisteredObject* middle = dlls[1].get();
  CRegisteredObject* last = dlls[2].get();

  lists.set_current(kControls);
  EXPECT_EQ(lists.RemoveFromCurrent(middle), nullptr);
  EXPECT_EQ(dlls.size(), 3u);

  lists.set_current(kDllServers);
  EXPECT_EQ(lists.GetCurrent(), &dlls);
  std::unique_ptr<CRegisteredObject> taken = lists.RemoveFromCurrent(middle);
  EXPECT_EQ(taken.get(), middle);
  EXPECT_EQ(deleted, 0);
  ASSERT_EQ(dlls.size(), 2u);
  EXPECT_EQ(dlls[1].get(), last);
  taken.reset();
  EXPECT_EQ(deleted, 1);

  lists.set_current(3);
  EXPECT_EQ(lists.GetCurrent(), nullptr);
  lists.set_current(-1);
  EXPECT_EQ(lists.GetCurrent(), nullptr);
  lists.Clear();
  EXPECT_EQ(deleted, 3);
  EXPECT_TRUE(dlls.empty());
  EXPECT_STREQ(CategoryName(kExeServers), "EXE Servers");
  EXPECT_STREQ(CategoryName(3), "");
}

}  // namespace
}  // namespace corvane
