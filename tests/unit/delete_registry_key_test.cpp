// Recursive key deletion: depth first, never more than asked, and always to an end.
#include <gtest/gtest.h>

#include "catalogue/delete_registry_key.h"
#include "tests/unit/memory_platform.h"

namespace corvane {
namespace {

// Records every successful RegDeleteKeyA, by the name it was given.
class LoggingRegistry : public MemoryRegistry {
 public:
  long DeleteKey(RegKey parent, const char* path) override {
    long rc = MemoryRegistry::DeleteKey(parent, path);
    if (rc == kErrorSuccess) deleted.push_back(path);
    return rc;
  }
  std::vector<std::string> deleted;
};

class DeleteKeyTest : public ::testing::Test {
 protected:
  LoggingRegistry registry;
  MemoryFiles files;
  MemoryModules modules;
  RecordingNotice notice;
  Platform platform{registry, files, modules, notice};
};

const char kFailed[] = "Failed while trying to delete registry key ";

TEST_F(DeleteKeyTest, DeletesDeepestFirstAndLeavesSiblings) {
  registry.AddKey(kClassesRoot, "CLSID\\{A}\\InprocServer32");
  registry.AddKey(kClassesRoot, "CLSID\\{A}\\Implemented Categories\\{Cat}");
  registry.AddKey(kClassesRoot, "CLSID\\{AB}\\ProgID");
  DeleteRegistryKey(platform, kClassesRoot, "CLSID\\{A}");
  EXPECT_EQ(registry.deleted,
            (std::vector<std::string>{"InprocServer32", "{Cat}", "Implemented Categories",
                                      "CLSID\\{A}"}));
  EXPECT_FALSE(registry.KeyExists(kClassesRoot, "CLSID\\{A}"));
  EXPECT_TRUE(registry.KeyExists(kClassesRoot, "CLSID\\{AB}\\ProgID"));
  EXPECT_TRUE(notice.messages.empty());
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST_F(DeleteKeyTest, KeyWithoutSubkeysTakesOneDelete) {
  registry.AddKey(kClassesRoot, "Some.ProgID");
  DeleteRegistryKey(platform, kClassesRoot, "Some.ProgID");
  EXPECT_EQ(registry.deleted, std::vector<std::string>{"Some.ProgID"});
}

TEST_F(DeleteKeyTest, AbsentOrEmptyPathDeletesNothing) {
  registry.AddKey(kClassesRoot, "CLSID\\{A}");
  DeleteRegistryKey(platform, kClassesRoot, "CLSID\\{Missing}");
  DeleteRegistryKey(platform, kClassesRoot, "");
  EXPECT_TRUE(registry.deleted.empty());
  EXPECT_TRUE(registry.KeyExists(kClassesRoot, "CLSID\\{A}"));
  EXPECT_TRUE(notice.messages.empty());
}

TEST_F(DeleteKeyTest, EnumerationFailureIsReportedAndKeepsTheKey) {
  registry.AddKey(kClassesRoot, "CLSID\\{A}\\Sub");
  registry.FailEnumKeyAt("HKEY_CLASSES_ROOT\\CLSID\\{A}", 0, kErrorAccessDenied);
  DeleteRegistryKey(platform, kClassesRoot, "CLSID\\{A}");
  EXPECT_EQ(notice.messages, std::vector<std::string>{std::string(kFailed) + "CLSID\\{A}"});
  EXPECT_TRUE(registry.KeyExists(kClassesRoot, "CLSID\\{A}\\Sub"));
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST_F(DeleteKeyTest, ChildThatRefusesDeletionEndsTheLoopWithOneMessage) {
  registry.AddKey(kClassesRoot, "CLSID\\{A}\\Locked\\Inner");
  registry.AddKey(kClassesRoot, "CLSID\\{A}\\Other");
  registry.RefuseDelete("HKEY_CLASSES_ROOT\\CLSID\\{A}\\Locked\\Inner");
  DeleteRegistryKey(platform, kClassesRoot, "CLSID\\{A}");
  EXPECT_EQ(notice.messages,
            std::vector<std::string>{std::string(kFailed) + "CLSID\\{A}\\Locked\\Inner"});
  EXPECT_TRUE(registry.KeyExists(kClassesRoot, "CLSID\\{A}\\Locked\\Inner"));
  EXPECT_TRUE(registry.KeyExists(kClassesRoot, "CLSID\\{A}"));
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST_F(DeleteKeyTest, ChildThatCannotBeOpenedEndsTheLoop) {
  registry.AddKey(kClassesRoot, "CLSID\\{A}\\Guarded");
  registry.RefuseOpen("HKEY_CLASSES_ROOT\\CLSID\\{A}\\Guarded");
  DeleteRegistryKey(platform, kClassesRoot, "CLSID\\{A}");
  EXPECT_EQ(notice.messages,
            std::vector<std::string>{std::string(kFailed) + "CLSID\\{A}\\Guarded"});
  EXPECT_TRUE(registry.KeyExists(kClassesRoot, "CLSID\\{A}\\Guarded"));
}

}  // namespace
}  // namespace corvane
