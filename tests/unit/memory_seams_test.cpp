// The in-memory seams behave as the Win32 calls they stand for.
#include <gtest/gtest.h>
#include <cstring>

#include "tests/contract/registry_contract.h"
#include "tests/unit/memory_platform.h"

namespace corvane {
namespace {

TEST(MemoryRegistry, KeepsTheWin32Contract) {
  MemoryRegistry registry;
  RegKey scratch = 0;
  ASSERT_EQ(registry.CreateKey(kCurrentUser, "Software\\Scratch", &scratch), kErrorSuccess);
  CheckRegistryContract(registry, scratch);
  registry.CloseKey(scratch);
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST(MemoryRegistry, InjectedFaults) {
  MemoryRegistry registry;
  registry.SetString(kClassesRoot, "CLSID\\{A}\\ProgID", "", "A.1");
  registry.AddKey(kClassesRoot, "CLSID\\{B}");
  registry.RefuseOpen("HKEY_CLASSES_ROOT\\CLSID\\{a}\\progid");
  registry.FailEnumKeyAt("HKEY_CLASSES_ROOT\\CLSID", 1, 1009);
  registry.FailQueryValue("HKEY_CLASSES_ROOT\\CLSID\\{A}", "");
  registry.RefuseDelete("HKEY_CLASSES_ROOT\\CLSID\\{B}");

  RegKey key = 0;
  EXPECT_EQ(registry.OpenKey(kClassesRoot, "CLSID\\{A}\\ProgID", kKeyRead, &key),
            kErrorAccessDenied);
  ASSERT_EQ(registry.OpenKey(kClassesRoot, "CLSID", kKeyRead, &key), kErrorSuccess);
  char name[64];
  std::uint32_t size = sizeof name;
  EXPECT_EQ(registry.EnumKey(key, 0, name, &size), kErrorSuccess);
  size = sizeof name;
  EXPECT_EQ(registry.EnumKey(key, 1, name, &size), 1009);
  EXPECT_EQ(registry.DeleteKey(key, "{B}"), kErrorAccessDenied);
  RegKey a = 0;
  ASSERT_EQ(registry.OpenKey(key, "{A}", kKeyRead, &a), kErrorSuccess);
  std::uint8_t data[8];
  size = sizeof data;
  EXPECT_EQ(registry.QueryValue(a, nullptr, nullptr, data, &size), kErrorMoreData);
  registry.CloseKey(a);
  registry.CloseKey(key);
  EXPECT_EQ(registry.CloseKey(key), kErrorInvalidHandle);
}

TEST(MemoryRegistry, HandleOfADeletedKeyIsStale) {
  MemoryRegistry registry;
  registry.AddKey(kCurrentUser, "Gone");
  RegKey key = 0;
  ASSERT_EQ(registry.OpenKey(kCurrentUser, "Gone", kKeyRead, &key), kErrorSuccess);
  ASSERT_EQ(registry.DeleteKey(kCurrentUser, "Gone"), kErrorSuccess);
  char name[8];
  std::uint32_t size = sizeof name;
  EXPECT_EQ(registry.EnumKey(key, 0, name, &size), kErrorKeyDeleted);
  registry.CloseKey(key);
}

TEST(MemoryFiles, FindsFilesFoldersAndAliases) {
  MemoryFiles files;
  files.AddFile("C:\\Program Files\\App\\Server.exe", 10, "SERVER.EXE");
  files.AddAlias("C:\\PROGRA~1\\App\\Server.exe", "C:\\Program Files\\App\\Server.exe");
  FoundFile found;
  ASSERT_TRUE(files.FindFile("c:\\program files\\app\\server.EXE", &found));
  EXPECT_EQ(found.long_name, "Server.exe");
  EXPECT_EQ(found.size, 10u);
  ASSERT_TRUE(files.FindFile("C:\\Program Files", &found));
  EXPECT_TRUE(found.is_directory);
  EXPECT_EQ(found.long_name, "Program Files");
  EXPECT_FALSE(files.FindFile("C:\\Program", &found));
  EXPECT_FALSE(files.FindFile("C:\\Program Files\\", &found));
  ASSERT_TRUE(files.FindFile("C:\\PROGRA~1\\App\\Server.exe", &found));
  EXPECT_EQ(found.long_name, "Server.exe");
}

TEST(MemoryFiles, ExpandsLikeExpandEnvironmentStrings) {
  MemoryFiles files;
  files.SetVariable("SystemRoot", "C:\\windows");
  char out[32];
  EXPECT_EQ(files.ExpandEnvironment("%systemroot%\\x", out, sizeof out), 13u);
  EXPECT_STREQ(out, "C:\\windows\\x");
  EXPECT_EQ(files.ExpandEnvironment("%Nope%\\%SystemRoot%", out, sizeof out), 18u);
  EXPECT_STREQ(out, "%Nope%\\C:\\windows");
  EXPECT_EQ(files.ExpandEnvironment("100%", out, sizeof out), 5u);
  std::strcpy(out, "untouched");
  EXPECT_EQ(files.ExpandEnvironment("%SystemRoot%", out, 5), 11u);
  EXPECT_STREQ(out, "untouched");
}

}  // namespace
}  // namespace corvane
