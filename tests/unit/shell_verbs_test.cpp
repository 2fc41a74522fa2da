// The shell verbs below HKEY_CLASSES_ROOT: what is written, what is replaced, what is left
// alone, and the program's folder and name taken from its path.
#include <gtest/gtest.h>

#include <string>

#include "app/shell_verbs.h"
#include "tests/unit/memory_platform.h"

namespace corvane {
namespace {

const ShellVerbTexts kTexts = {"Register",   "View",           "Details",   "Compare With...",
                               "Unregister", "ActiveX Control", "DLL Server"};

class ShellVerbsTest : public testing::Test {
 protected:
  std::string Default(const std::string& path) {
    RegKey key = 0;
    if (memory_.registry.OpenKey(kClassesRoot, path.c_str(), kKeyRead, &key) != kErrorSuccess)
      return "<no key>";
    char data[1024] = "";
    std::uint32_t type = 0, size = sizeof data;
    long rc = memory_.registry.QueryValue(key, "", &type, reinterpret_cast<std::uint8_t*>(data),
                                          &size);
    memory_.registry.CloseKey(key);
    if (rc != kErrorSuccess) return "<no value>";
    EXPECT_EQ(type, kRegSz) << path;
    // The size written counts the terminating null.
    EXPECT_EQ(size, std::string(data).size() + 1) << path;
    return data;
  }

  MemoryPlatform memory_;
};

TEST_F(ShellVerbsTest, WritesTheFourVerbsOfBothTypesAndTheControlIcon) {
  RegisterShellVerbs(memory_.platform, "C:\\Program Files\\Corvane\\corvane.exe", kTexts);
  const std::string exe = "C:\\Program Files\\Corvane\\corvane.exe";
  EXPECT_EQ(Default(".ocx"), "ocxfile");
  EXPECT_EQ(Default("ocxfile\\shell"), "R");
  EXPECT_EQ(Default("ocxfile\\shell\\R"), "Register ActiveX Control");
  EXPECT_EQ(Default("ocxfile\\shell\\R\\command"), exe + " -R %L");
  EXPECT_EQ(Default("ocxfile\\shell\\V"), "View ActiveX Control Details");
  EXPECT_EQ(Default("ocxfile\\shell\\V\\command"), exe + " -V %L");
  EXPECT_EQ(Default("ocxfile\\shell\\C"), "Compare With...");
  EXPECT_EQ(Default("ocxfile\\shell\\C\\command"), exe + " -C %L");
  EXPECT_EQ(Default("ocxfile\\shell\\U"), "Unregister ActiveX Control");
  EXPECT_EQ(Default("ocxfile\\shell\\U\\command"), exe + " -U %L");
  EXPECT_EQ(Default("ocxfile\\DefaultIcon"), exe);
  EXPECT_EQ(Default("dllfile\\shell"), "R");
  EXPECT_EQ(Default("dllfile\\shell\\R"), "Register DLL Server");
  EXPECT_EQ(Default("dllfile\\shell\\V"), "View DLL Server Details");
  EXPECT_EQ(Default("dllfile\\shell\\C"), "Compare With...");
  EXPECT_EQ(Default("dllfile\\shell\\U"), "Unregister DLL Server");
  EXPECT_EQ(Default("dllfile\\shell\\U\\command"), exe + " -U %L");
  EXPECT_EQ(Default("dllfile\\DefaultIcon"), "<no key>");
  EXPECT_EQ(memory_.registry.OpenHandleCount(), 0u);
}

TEST_F(ShellVerbsTest, ReplacesOtherTypesAndOldVerbsButLeavesTheRestAlone) {
  MemoryRegistry& registry = memory_.registry;
  registry.SetString(kClassesRoot, ".ocx", "", "OtherApp.Control");
  registry.SetString(kClassesRoot, ".dll", "", "dllfile");
  registry.SetString(kClassesRoot, "dllfile\\shell\\Register DLL Server\\command", "", "old -R");
  registry.SetString(kClassesRoot, "dllfile\\shell\\Compare With...", "", "Compare With...");
  registry.SetString(kClassesRoot, "dllfile\\shell\\Inspect\\command", "", "inspect.exe %1");
  registry.SetString(kClassesRoot, "dllfile\\DefaultIcon", "", "shell32.dll,-154");
  registry.SetString(kClassesRoot, "ocxfile\\shell\\R\\command", "", "D:\\old\\corvane.exe -R %L");

  RegisterShellVerbs(memory_.platform, "E:\\tools\\plenr.EXE", kTexts);
  EXPECT_EQ(Default(".ocx"), "ocxfile");
  EXPECT_EQ(Default("ocxfile\\shell\\R\\command"), "E:\\tools\\plenr.exe -R %L");
  EXPECT_FALSE(registry.KeyExists(kClassesRoot, "dllfile\\shell\\Register DLL Server"));
  EXPECT_FALSE(registry.KeyExists(kClassesRoot, "dllfile\\shell\\Compare With..."));
  EXPECT_EQ(Default("dllfile\\shell\\Inspect\\command"), "inspect.exe %1");
  EXPECT_EQ(Default("dllfile\\DefaultIcon"), "shell32.dll,-154");
  EXPECT_EQ(Default(".dll"), "dllfile");
  EXPECT_EQ(Default("dllfile\\shell\\C"), "Compare With...");
}

TEST_F(ShellVerbsTest, NothingIsWrittenWhenTheOcxTypeCannotBe) {
  memory_.registry.RefuseOpen("HKEY_CLASSES_ROOT\\.ocx");
  RegisterShellVerbs(memory_.platform, "C:\\corvane.exe", kTexts);
  EXPECT_FALSE(memory_.registry.KeyExists(kClassesRoot, "ocxfile"));
  EXPECT_FALSE(memory_.registry.KeyExists(kClassesRoot, "dllfile"));
  EXPECT_TRUE(memory_.notice.messages.empty());
}

TEST_F(ShellVerbsTest, AVerbWhoseKeyIsRefusedGetsNoCommandAndTheOthersStay) {
  memory_.registry.RefuseOpen("HKEY_CLASSES_ROOT\\dllfile\\shell\\V");
  RegisterShellVerbs(memory_.platform, "C:\\corvane.exe", kTexts);
  EXPECT_FALSE(memory_.registry.KeyExists(kClassesRoot, "dllfile\\shell\\V\\command"));
  EXPECT_EQ(Default("dllfile\\shell\\U\\command"), "C:\\corvane.exe -U %L");
}

TEST(ProgramPath, FolderAndNameOfTheRunningProgram) {
  EXPECT_EQ(ProgramDirectory("C:\\corvane.exe"), "C:");
  EXPECT_EQ(ProgramName("C:\\corvane.exe"), "corvane");
  EXPECT_EQ(ProgramDirectory("C:\\Program Files\\Corvane\\corvane.exe"),
            "C:\\Program Files\\Corvane");
  EXPECT_EQ(ProgramDirectory("\\\\server\\share\\corvane.exe"), "\\\\server\\share");
  EXPECT_EQ(ProgramName("D:\\a.b\\corvane.v2.exe"), "corvane.v2");
  EXPECT_EQ(ProgramName("D:\\a.b\\corvane"), "corvane");
  EXPECT_EQ(ProgramDirectory("C:corvane.exe"), "C:");
}

}  // namespace
}  // namespace corvane
