// Value reads, the probes of the scans and the quote rule.
#include <gtest/gtest.h>

#include "catalogue/registry_access.h"
#include "tests/unit/memory_platform.h"

namespace corvane {
namespace {

class ProbeTest : public ::testing::Test {
 protected:
  int IsDll(const std::string& value) {
    env.AddClass("{C}", "InProcServer32", value);
    return Probe(IsDllInProcServer, "{C}");
  }
  int Probe(int (*probe)(Registry&, RegKey, const std::string&), const std::string& clsid) {
    RegKey clsid_key = 0;
    EXPECT_EQ(env.registry.OpenKey(kClassesRoot, "CLSID", kKeyRead, &clsid_key), kErrorSuccess);
    int result = probe(env.registry, clsid_key, clsid);
    env.registry.CloseKey(clsid_key);
    EXPECT_EQ(env.registry.OpenHandleCount(), 0u);
    return result;
  }
  MemoryPlatform env;
};

TEST_F(ProbeTest, DllRuleUpperCasesTheSuffixOfLongValuesOnly) {
  EXPECT_EQ(IsDll("c:\\x\\y.dll"), 1);
  EXPECT_EQ(IsDll("c:\\x\\y.Dll"), 1);
  EXPECT_EQ(IsDll("c:\\x\\y.ocx"), 0);
  EXPECT_EQ(IsDll("DLL"), 1);
  EXPECT_EQ(IsDll("dll"), 0);
  EXPECT_EQ(IsDll(""), 0);
  // Quotes are not removed first.
  EXPECT_EQ(IsDll("\"c:\\x\\y.dll\""), 0);
  // The probe reads into 260 bytes: a longer value does not fit and is no DLL.
  EXPECT_EQ(IsDll("c:\\" + std::string(254, 'a') + ".dll"), 0);
  EXPECT_EQ(IsDll("c:\\" + std::string(251, 'a') + ".dll"), 1);
}

TEST_F(ProbeTest, DllRuleWithoutAReadableValue) {
  env.registry.AddKey(kClassesRoot, "CLSID\\{NoValue}\\InProcServer32");
  EXPECT_EQ(Probe(IsDllInProcServer, "{NoValue}"), 0);
  env.AddClass("{Refused}", "InProcServer32", "x.dll");
  env.registry.FailQueryValue("HKEY_CLASSES_ROOT\\CLSID\\{Refused}\\InProcServer32", "");
  EXPECT_EQ(Probe(IsDllInProcServer, "{Refused}"), 0);
  EXPECT_EQ(Probe(IsDllInProcServer, "{Absent}"), 0);
}

TEST_F(ProbeTest, KeyProbesOnlyOpen) {
  env.registry.AddKey(kClassesRoot, "CLSID\\{C}\\Control");
  env.registry.AddKey(kClassesRoot, "CLSID\\{C}\\LocalServer32");
  env.registry.AddKey(kClassesRoot, "CLSID\\{C}\\ProgID");
  EXPECT_EQ(Probe(HasControlKey, "{C}"), 1);
  EXPECT_EQ(Probe(HasLocalServer32, "{C}"), 1);
  EXPECT_EQ(Probe(HasProgID, "{c}"), 1);
  EXPECT_EQ(Probe(HasProgID, "{D}"), 0);
  // A key that can't be opened counts as absent.
  env.registry.RefuseOpen("HKEY_CLASSES_ROOT\\CLSID\\{C}\\Control");
  EXPECT_EQ(Probe(HasControlKey, "{C}"), 0);
}

TEST(ReadValueText, TakesTheBytesAsATerminatedString) {
  MemoryRegistry registry;
  registry.SetBytes(kCurrentUser, "K", "Dword", kRegDword, {'A', 'B', 0, 'C'});
  // Exactly the 1023 bytes passed, with no terminator: the spare byte ends it.
  registry.SetBytes(kCurrentUser, "K", "Full", kRegSz, std::vector<std::uint8_t>(1023, 'x'));
  registry.SetBytes(kCurrentUser, "K", "Over", kRegSz, std::vector<std::uint8_t>(1024, 'x'));
  registry.SetString(kCurrentUser, "K", "", "default");
  EXPECT_EQ(ReadKeyValue(registry, kCurrentUser, "K", "Dword"), "AB");
  EXPECT_EQ(ReadKeyValue(registry, kCurrentUser, "K", "Full"), std::string(1023, 'x'));
  EXPECT_EQ(ReadKeyValue(registry, kCurrentUser, "K", "Over"), "");
  EXPECT_EQ(ReadKeyValue(registry, kCurrentUser, "K"), "default");
  EXPECT_EQ(ReadKeyValue(registry, kCurrentUser, "K", "Missing"), "");
  EXPECT_EQ(ReadKeyValue(registry, kCurrentUser, "Absent"), "");
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST(JoinKeyPath, RefusesPathsThatWouldNameAnotherKey) {
  EXPECT_EQ(JoinKeyPath({"CLSID", "{A}", "ProgID"}), "CLSID\\{A}\\ProgID");
  EXPECT_EQ(JoinKeyPath({"CLSID", "", "InprocServer32"}), "");
  EXPECT_EQ(JoinKeyPath({"CLSID", std::string(1017, 'a')}).size(), 1023u);
  EXPECT_EQ(JoinKeyPath({"CLSID", std::string(1018, 'a')}), "");
}

TEST(StripQuotes, DropsOneQuoteAtEachEnd) {
  EXPECT_EQ(StripQuotes(""), "");
  EXPECT_EQ(StripQuotes("\""), "");
  EXPECT_EQ(StripQuotes("\"\"\""), "\"");
  EXPECT_EQ(StripQuotes("\"C:\\x.exe\""), "C:\\x.exe");
  EXPECT_EQ(StripQuotes("C:\\x.exe\""), "C:\\x.exe");
  EXPECT_EQ(StripQuotes("\"C:\\Dir\\x.exe\" -Embedding"), "C:\\Dir\\x.exe\" -Embedding");
  EXPECT_EQ(StripQuotes("C:\\x.exe"), "C:\\x.exe");
}

TEST(SplitServerValue, AQuotedFileEndsAtTheNextQuote) {
  auto split = [](const std::string& value) {
    const ServerCommand command = SplitServerValue(value);
    return command.file + "|" + command.arguments + "|" + (command.quoted ? "q" : "-");
  };
  EXPECT_EQ(split("\"C:\\A B\\x.exe\" /Automation"), "C:\\A B\\x.exe| /Automation|q");
  EXPECT_EQ(split("\"C:\\x.exe\"-Embedding \"y\""), "C:\\x.exe|-Embedding \"y\"|q");
  EXPECT_EQ(split("\"C:\\x.exe\""), "C:\\x.exe||q");
  EXPECT_EQ(split("\"\""), "||q");
  // No closing quote, or none at the start: the quotes at the ends are dropped as before.
  EXPECT_EQ(split("\"C:\\x.exe -Embedding"), "C:\\x.exe -Embedding||-");
  EXPECT_EQ(split("C:\\x.exe \"arg\""), "C:\\x.exe \"arg||-");
  EXPECT_EQ(split("\""), "||-");
  EXPECT_EQ(split(""), "||-");
}

}  // namespace
}  // namespace corvane
