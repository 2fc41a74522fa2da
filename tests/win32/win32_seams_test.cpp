// The Win32 seams keep the contract the in-memory ones were written to.
#include <gtest/gtest.h>

#include <cstring>

#include "catalogue/api_set_schema.h"
#include "platform/memory/memory_registry.h"
#include "tests/contract/registry_contract.h"
#include "tests/win32/scratch_classes.h"

namespace corvane {
namespace {

TEST(Win32Seams, RealRegistryKeepsTheContract) {
  Win32Registry registry;
  RegKey scratch = 0;
  ASSERT_EQ(registry.CreateKey(kCurrentUser, "Software\\CorvaneContract", &scratch), kErrorSuccess);
  CheckRegistryContract(registry, scratch);
  registry.CloseKey(scratch);
  EXPECT_EQ(registry.DeleteKey(kCurrentUser, "Software\\CorvaneContract"), kErrorSuccess);
}

TEST(Win32Seams, MemoryRegistryKeepsTheContractHereToo) {
  MemoryRegistry registry;
  RegKey scratch = 0;
  ASSERT_EQ(registry.CreateKey(kCurrentUser, "Software\\CorvaneContract", &scratch), kErrorSuccess);
  CheckRegistryContract(registry, scratch);
}

TEST(Win32Seams, FindReportsLongAndShortNames) {
  ScratchFolder folder("corvane seams test");
  const std::string path = folder.AddFile("a rather long file name.dll");
  Win32Files files;
  FoundFile found;
  ASSERT_TRUE(files.FindFile(path.c_str(), &found));
  EXPECT_EQ(found.long_name, "a rather long file name.dll");
  EXPECT_FALSE(found.short_name.empty());
  EXPECT_FALSE(found.is_directory);
  ASSERT_TRUE(files.FindFile(folder.path().c_str(), &found));
  EXPECT_TRUE(found.is_directory);
  // A wildcard names no file of its own.
  EXPECT_FALSE(files.FindFile((folder.path() + "\\*.dll").c_str(), &found));
  EXPECT_FALSE(files.FindFile((folder.path() + "\\missing.dll").c_str(), &found));
}

// New files only, written whole: a backup never replaces an earlier one.
TEST(Win32Seams, WriteNewFileNeverReplacesAFileAndFoldersAreMadeOnce) {
  ScratchFolder folder("corvane write test");
  Win32Files files;
  const std::string sub = folder.path() + "\\made";
  EXPECT_TRUE(files.CreateFolder(sub.c_str()));
  EXPECT_TRUE(files.CreateFolder(sub.c_str()));
  EXPECT_FALSE(files.CreateFolder((sub + "\\no parent\\child").c_str()));
  const std::string path = sub + "\\backup.reg";
  const std::string bytes("REGEDIT4\r\n\0x\xff", 13);
  EXPECT_TRUE(files.WriteNewFile(path.c_str(), bytes));
  EXPECT_FALSE(files.WriteNewFile(path.c_str(), "other"));
  auto view = files.MapFile(path.c_str());
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(view->data()), view->size()), bytes);
  view.reset();
  DeleteFileA(path.c_str());
  RemoveDirectoryA(sub.c_str());
  FoundFile found;
  const std::string app_data = files.AppDataFolder();
  ASSERT_FALSE(app_data.empty());
  EXPECT_TRUE(files.FindFile(app_data.c_str(), &found) && found.is_directory);
}

TEST(Win32Seams, ExpansionReportsTheLengthItNeeds) {
  Win32Files files;
  char windows[MAX_PATH];
  GetWindowsDirectoryA(windows, MAX_PATH);
  char out[260] = {};
  std::uint32_t needed = files.ExpandEnvironment("%SystemRoot%\\x", out, 259);
  EXPECT_STRCASEEQ(out, (std::string(windows) + "\\x").c_str());
  EXPECT_EQ(needed, std::strlen(out) + 1);
  const std::string long_text = "%SystemRoot%\\" + std::string(300, 'a');
  EXPECT_GT(files.ExpandEnvironment(long_text.c_str(), out, 259), 259u);
}

TEST(Win32Seams, ModulesLoadFindAndCallExports) {
  Win32Modules modules;
  ModuleHandle kernel = modules.Load("kernel32.dll");
  ASSERT_NE(kernel, 0u);
  EXPECT_TRUE(modules.HasExport(kernel, "GetLastError"));
  EXPECT_FALSE(modules.HasExport(kernel, "DllRegisterServer"));
  SetLastError(1234);
  long result = 0;
  EXPECT_TRUE(modules.CallExport(kernel, "GetLastError", &result));
  EXPECT_EQ(result, 1234);
  EXPECT_FALSE(modules.CallExport(kernel, "DllRegisterServer", &result));
  modules.Free(kernel);
  EXPECT_EQ(modules.Load("C:\\no such folder\\none.dll"), 0u);
}

TEST(Win32Seams, TheLoadersOwnAnswersAgreeWithWhatItLoads) {
  Win32Modules modules;
  // The schema the process's loader uses resolves a contract to the module it really maps.
  const ApiSetSchema schema(modules.ApiSetSchema());
  ASSERT_TRUE(schema.readable());
  std::string host;
  ASSERT_EQ(schema.Resolve("API-MS-WIN-CORE-SYNCH-L1-2-3.dll", "server.dll", &host),
            ApiSetSchema::Answer::kHost);
  HMODULE loaded = LoadLibraryA("api-ms-win-core-synch-l1-2-0.dll");
  ASSERT_NE(loaded, nullptr);
  char path[MAX_PATH] = "";
  GetModuleFileNameA(loaded, path, MAX_PATH);
  FreeLibrary(loaded);
  const char* file = std::strrchr(path, '\\');
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(_stricmp(file + 1, host.c_str()), 0) << path;
  EXPECT_EQ(_stricmp(modules.FindWithLoader("api-ms-win-core-synch-l1-2-0.dll").c_str(), path), 0);

  // A DLL that isn't loaded yet is mapped only for the question and released again.
  ASSERT_EQ(GetModuleHandleA("msimg32.dll"), nullptr);
  EXPECT_NE(modules.FindWithLoader("msimg32.dll"), "");
  EXPECT_EQ(GetModuleHandleA("msimg32.dll"), nullptr);
  // Only bare names are asked: a path would make the loader map any file.
  EXPECT_EQ(modules.FindWithLoader("C:\\windows\\system32\\msimg32.dll"), "");
  EXPECT_EQ(modules.FindWithLoader("corvane_nowhere.dll"), "");
  // Without a manifest there is no assembly to look in.
  EXPECT_EQ(modules.FindInAssembly(path, "msimg32.dll"), "");

  // The system folder of the other bitness is the one the search order doesn't cover.
  Win32Files files;
  const bool process64 = sizeof(void*) == 8;
  EXPECT_EQ(files.SystemFolderFor(process64), "");
  if (process64) {
    char wow64[MAX_PATH] = "";
    GetSystemWow64DirectoryA(wow64, MAX_PATH);
    EXPECT_EQ(files.SystemFolderFor(false), wow64);
  }
}

}  // namespace
}  // namespace corvane
