// The tree of a record's registry keys.
#include <gtest/gtest.h>

#include "catalogue/object_kinds.h"
#include "tests/unit/memory_platform.h"
#include "tests/unit/recording_tree.h"

namespace corvane {
namespace {

using Texts = std::vector<std::string>;

class RegistryTreeTest : public ::testing::Test {
 protected:
  void AddFullClass(const std::string& clsid) {
    env.AddClass(clsid, "InprocServer32", "C:\\x\\x.dll");
    env.AddClass(clsid, "ProgID", "X.Server.1");
    env.AddClass(clsid, "TypeLib", "{LIB}");
    env.registry.AddKey(kClassesRoot, "CLSID\\" + clsid + "\\Implemented Categories\\{CAT}");
    env.registry.AddKey(kClassesRoot, "TypeLib\\{LIB}\\1.0\\0\\win32");
    env.registry.AddKey(kClassesRoot, "X.Server.1\\CLSID");
    env.registry.SetString(kClassesRoot, "CLSID\\" + clsid, "AppID", "{APP}");
    env.registry.AddKey(kClassesRoot, "AppID\\{APP}\\Sub");
  }
  MemoryPlatform env;
  RecordingTree tree;
};

TEST_F(RegistryTreeTest, ClassTypeLibAndProgIdBranchesInOrder) {
  AddFullClass("{D}");
  CDllServerObject record(env.platform, "{D}");
  record.FillRegistryTree(tree);
  EXPECT_EQ(tree.Paths(),
            (Texts{"HKEY_CLASSES_ROOT", "HKEY_CLASSES_ROOT\\CLSID", "HKEY_CLASSES_ROOT\\CLSID\\{D}",
                   "HKEY_CLASSES_ROOT\\TypeLib", "HKEY_CLASSES_ROOT\\TypeLib\\{LIB}",
                   "HKEY_CLASSES_ROOT\\X.Server.1",
                   "HKEY_CLASSES_ROOT\\CLSID\\{D}\\InprocServer32",
                   "HKEY_CLASSES_ROOT\\CLSID\\{D}\\ProgID", "HKEY_CLASSES_ROOT\\CLSID\\{D}\\TypeLib",
                   "HKEY_CLASSES_ROOT\\CLSID\\{D}\\Implemented Categories",
                   "HKEY_CLASSES_ROOT\\CLSID\\{D}\\Implemented Categories\\{CAT}",
                   "HKEY_CLASSES_ROOT\\TypeLib\\{LIB}\\1.0", "HKEY_CLASSES_ROOT\\TypeLib\\{LIB}\\1.0\\0",
                   "HKEY_CLASSES_ROOT\\TypeLib\\{LIB}\\1.0\\0\\win32",
                   "HKEY_CLASSES_ROOT\\X.Server.1\\CLSID"}));
  // A DLL server has no AppID branch, whatever its class key says.
  EXPECT_EQ(tree.Children(1), (Texts{"CLSID", "TypeLib", "X.Server.1"}));
  EXPECT_EQ(tree.expanded, std::vector<TreeItem>{1});
  EXPECT_EQ(env.registry.OpenHandleCount(), 0u);
}

TEST_F(RegistryTreeTest, EveryItemBelowTheTopNamesAKey) {
  AddFullClass("{E}");
  env.AddClass("{E}", "LocalServer32", "C:\\x\\x.exe");
  CExeServerObject record(env.platform, "{E}");
  record.FillRegistryTree(tree);
  const Texts paths = tree.Paths();
  for (std::size_t i = 1; i < paths.size(); ++i) {
    const std::string below_root = paths[i].substr(std::string("HKEY_CLASSES_ROOT\\").size());
    EXPECT_TRUE(env.registry.KeyExists(kClassesRoot, below_root)) << below_root;
  }
  // The AppID branch comes last under the top item.
  EXPECT_EQ(tree.Children(1), (Texts{"CLSID", "TypeLib", "X.Server.1", "AppID"}));
  EXPECT_EQ(paths.back(), "HKEY_CLASSES_ROOT\\AppID\\{APP}\\Sub");
}

TEST_F(RegistryTreeTest, BareClassAndUnregisteredReferencesStayLeaves) {
  env.AddClass("{B}", "InprocServer32", "b.dll");
  CDllServerObject bare(env.platform, "{B}");
  bare.FillRegistryTree(tree);
  EXPECT_EQ(tree.Paths(), (Texts{"HKEY_CLASSES_ROOT", "HKEY_CLASSES_ROOT\\CLSID",
                                 "HKEY_CLASSES_ROOT\\CLSID\\{B}",
                                 "HKEY_CLASSES_ROOT\\CLSID\\{B}\\InprocServer32"}));

  env.AddClass("{U}", "TypeLib", "{NotRegistered}");
  env.AddClass("{U}", "ProgID", "No.Such.Key");
  RecordingTree other;
  CDllServerObject unregistered(env.platform, "{U}");
  unregistered.FillRegistryTree(other);
  EXPECT_EQ(other.Children(4), Texts{"{NotRegistered}"});
  EXPECT_TRUE(other.Children(5).empty());
  EXPECT_EQ(other.Children(1), (Texts{"CLSID", "TypeLib", "No.Such.Key"}));
  EXPECT_TRUE(other.Children(6).empty());
}

TEST_F(RegistryTreeTest, SubtreeReportsOpenErrorsAndStopsAtEnumerationErrors) {
  env.registry.AddKey(kClassesRoot, "K\\A");
  env.registry.AddKey(kClassesRoot, "K\\B");
  env.registry.FailEnumKeyAt("HKEY_CLASSES_ROOT\\K", 1, kErrorAccessDenied);
  CDllServerObject record(env.platform, "{X}");
  EXPECT_EQ(record.FillRegistrySubtree(tree, kTreeRoot, kClassesRoot, "K"), kErrorSuccess);
  EXPECT_EQ(tree.Paths(), Texts{"A"});
  EXPECT_EQ(record.FillRegistrySubtree(tree, kTreeRoot, kClassesRoot, "Missing"), kErrorFileNotFound);
  EXPECT_EQ(record.FillRegistrySubtree(tree, kTreeRoot, kClassesRoot, ""), kErrorBadPathname);
  EXPECT_EQ(tree.items.size(), 1u);
}

TEST_F(RegistryTreeTest, ExeServerWithoutAppIdHasNoAppIdBranch) {
  env.AddClass("{E}", "LocalServer32", "x.exe");
  CExeServerObject record(env.platform, "{E}");
  record.FillRegistryTree(tree);
  EXPECT_EQ(tree.Children(1), Texts{"CLSID"});
}

}  // namespace
}  // namespace corvane
