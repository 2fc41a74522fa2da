// The shared search for missing DLLs against walking each server file alone.
#include "tools/missing_dependencies.h"

#include <gtest/gtest.h>

#include <random>

#include "tests/unit/memory_platform.h"
#include "tests/unit/pe_test_image.h"

namespace corvane {
namespace {

const char kSystem[] = "C:\\Windows\\System32";

class MissingDependencySearchTest : public ::testing::Test {
 protected:
  MissingDependencySearchTest() { env.files.SetSearchFolders({kSystem}); }

  void AddDll(const std::string& path, const std::vector<std::string>& imports) {
    env.files.SetContents(path, BuildPeImage(imports).bytes);
  }
  static std::string System(const std::string& name) { return std::string(kSystem) + "\\" + name; }

  // What the walker alone lists as missing below path.
  std::vector<std::string> WalkedMissing(const std::string& path) {
    std::vector<std::unique_ptr<CFileObject>> list;
    GetFileDependencies(env.platform, path, list);
    std::vector<std::string> missing;
    for (const auto& entry : list)
      if (!entry->exists()) missing.push_back(entry->module_name());
    return missing;
  }

  MemoryPlatform env;
};

TEST_F(MissingDependencySearchTest, DeepMissingCyclesAndUnreadableFiles) {
  AddDll("C:\\App\\deep.dll", {"a.dll"});
  AddDll(System("a.dll"), {"b.dll"});
  AddDll(System("b.dll"), {"gone.dll", "a.dll"});  // a cycle back to a.dll
  AddDll("C:\\App\\cycle.dll", {"b.dll"});
  AddDll("C:\\App\\clean.dll", {"c.dll"});
  AddDll(System("c.dll"), {"d.dll"});
  AddDll(System("d.dll"), {"c.dll"});
  env.files.SetContents("C:\\App\\text.dll", {'h', 'i'});
  AddDll("C:\\App\\via_text.dll", {"text.dll", "d.dll"});
  AddDll("C:\\App\\three.dll", {"x1.dll", "x2.dll", "x3.dll"});

  MissingDependencySearch search(env.files, env.modules);
  for (const char* path : {"C:\\App\\deep.dll", "C:\\App\\cycle.dll", "C:\\App\\clean.dll",
                           "C:\\App\\text.dll", "C:\\App\\via_text.dll", "C:\\App\\three.dll",
                           "C:\\App\\absent.dll"}) {
    SCOPED_TRACE(path);
    EXPECT_EQ(search.MissingOf(path), WalkedMissing(path));
  }
  EXPECT_EQ(search.MissingOf("C:\\App\\deep.dll"), std::vector<std::string>{"gone.dll"});
  EXPECT_TRUE(search.MissingOf("C:\\App\\via_text.dll").empty());
  EXPECT_EQ(search.MissingOf("C:\\App\\three.dll").size(), 3u);
}

// The first importer of a name decides where it is found, so a shared DLL can be complete
// below one server and lack a DLL below another.
TEST_F(MissingDependencySearchTest, SharedDllFollowsEachServersFirstImporter) {
  AddDll("C:\\App\\server.dll", {"x.dll", "shared.dll"});
  AddDll("C:\\App\\x.dll", {});
  AddDll("C:\\Other\\server.dll", {"shared.dll"});
  AddDll(System("shared.dll"), {"x.dll"});
  for (bool app_first : {true, false}) {
    MissingDependencySearch search(env.files, env.modules);
    if (!app_first) {
      EXPECT_EQ(search.MissingOf("C:\\Other\\server.dll").size(), 1u);
    }
    EXPECT_TRUE(search.MissingOf("C:\\App\\server.dll").empty());
    EXPECT_EQ(search.MissingOf("C:\\Other\\server.dll"), std::vector<std::string>{"x.dll"});
  }
}

TEST_F(MissingDependencySearchTest, EachFileIsReadOncePerSearchWhateverItsCase) {
  AddDll("C:\\App\\one.dll", {"shared.dll"});
  AddDll("C:\\App\\two.dll", {"SHARED.DLL"});
  AddDll(System("shared.dll"), {"gone.dll"});
  MissingDependencySearch search(env.files, env.modules);
  EXPECT_EQ(search.MissingOf("C:\\App\\one.dll").size(), 1u);
  // What the search has learnt stays for its whole run.
  env.files.RemoveFile(System("shared.dll"));
  env.files.RemoveFile("C:\\App\\one.dll");
  EXPECT_EQ(search.MissingOf("c:\\app\\ONE.dll").size(), 1u);
  EXPECT_EQ(search.MissingOf("C:\\App\\two.dll").size(), 1u);
  EXPECT_TRUE(MissingDependencySearch(env.files, env.modules).MissingOf("C:\\App\\two.dll").size() == 1u);
  EXPECT_TRUE(MissingDependencySearch(env.files, env.modules).MissingOf("C:\\App\\one.dll").empty());
}

TEST_F(MissingDependencySearchTest, RecordsAreMarkedOnlyWhenTheirServerExists) {
  AddDll("C:\\App\\server.dll", {"gone.dll"});
  env.AddClass("{A}", "InprocServer32", "C:\\App\\server.dll");
  env.AddClass("{B}", "InprocServer32", "C:\\App\\absent.dll");
  MissingDependencySearch search(env.files, env.modules);
  EXPECT_TRUE(search.IsMissingDependency(CRegisteredObject(env.platform, "{A}", "InprocServer32")));
  EXPECT_FALSE(search.IsMissingDependency(CRegisteredObject(env.platform, "{B}", "InprocServer32")));
}

// Many servers over a random graph of DLLs in three folders, with names found nowhere.
TEST_F(MissingDependencySearchTest, RandomGraphsGiveTheWalkersMarks) {
  const std::vector<std::string> folders = {kSystem, "C:\\App", "C:\\Lib"};
  env.files.SetSearchFolders({kSystem, "C:\\Lib"});
  std::mt19937 random(11);
  for (int round = 0; round < 5; ++round) {
    std::vector<std::string> servers;
    for (int dll = 0; dll < 24; ++dll) {
      std::vector<std::string> imports;
      for (int k = random() % 4; k > 0; --k)
        imports.push_back("d" + std::to_string(random() % 30) + ".dll");
      const std::string path =
          folders[random() % folders.size()] + "\\d" + std::to_string(dll) + ".dll";
      AddDll(path, imports);
      servers.push_back(path);
    }
    MissingDependencySearch search(env.files, env.modules);
    for (const std::string& server : servers) {
      SCOPED_TRACE(server);
      EXPECT_EQ(search.MissingOf(server), WalkedMissing(server));
    }
    for (const std::string& server : servers) env.files.RemoveFile(server);
  }
}

}  // namespace
}  // namespace corvane
