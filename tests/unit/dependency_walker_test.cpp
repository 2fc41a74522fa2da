// The dependency walk over in-memory files, and the dependency tree a record fills.
#include "catalogue/dependency_walker.h"

#include <gtest/gtest.h>

#include "catalogue/object_kinds.h"
#include "tests/unit/memory_platform.h"
#include "tests/unit/pe_test_image.h"

namespace corvane {
namespace {

const char kSystem[] = "C:\\Windows\\System32";

struct Entry {
  std::string name;
  std::string path;
  int exists;
  bool operator==(const Entry& other) const {
    return name == other.name && path == other.path && exists == other.exists;
  }
};

std::ostream& operator<<(std::ostream& out, const Entry& entry) {
  return out << "{" << entry.name << ", " << entry.path << ", " << entry.exists << "}";
}

class DependencyWalkTest : public ::testing::Test {
 protected:
  DependencyWalkTest() { env.files.SetSearchFolders({kSystem, "C:\\Lib"}); }

  void AddDll(const std::string& path, const std::vector<std::string>& imports,
              PeLayout layout = {}) {
    env.files.SetContents(path, BuildPeImage(imports, layout).bytes);
  }
  static std::string System(const std::string& name) { return std::string(kSystem) + "\\" + name; }

  std::vector<Entry> Walk(const std::string& path, int expected_result = 1) {
    EXPECT_EQ(GetFileDependencies(env.platform, path, list), expected_result);
    std::vector<Entry> entries;
    for (const auto& entry : list) {
      entries.push_back({entry->module_name(), entry->GetFilePath(), entry->exists()});
    }
    return entries;
  }

  MemoryPlatform env;
  std::vector<std::unique_ptr<CFileObject>> list;
};

TEST_F(DependencyWalkTest, ListIsDepthFirstWithFoundAndMissingEntries) {
  AddDll("C:\\App\\server.dll", {"a.dll", "missing.dll", "b.dll"});
  AddDll(System("a.dll"), {"c.dll"});
  AddDll(System("b.dll"), {"a.dll"});
  AddDll(System("c.dll"), {});
  EXPECT_EQ(Walk("C:\\App\\server.dll"),
            (std::vector<Entry>{{"a.dll", System("a.dll"), 1},
                                {"c.dll", System("c.dll"), 1},
                                {"missing.dll", "", 0},
                                {"b.dll", System("b.dll"), 1}}));
}

TEST_F(DependencyWalkTest, ImporterFolderComesBeforeTheSearchOrder) {
  AddDll("C:\\App\\server.dll", {"x.dll", "lib.dll"});
  AddDll("C:\\App\\x.dll", {});
  AddDll(System("x.dll"), {"never.dll"});
  // Found through the search order, lib.dll's own imports are looked for beside it first.
  AddDll("C:\\Lib\\lib.dll", {"y.dll"});
  AddDll("C:\\Lib\\y.dll", {});
  AddDll(System("y.dll"), {});
  EXPECT_EQ(Walk("C:\\App\\server.dll"),
            (std::vector<Entry>{{"x.dll", "C:\\App\\x.dll", 1},
                                {"lib.dll", "C:\\Lib\\lib.dll", 1},
                                {"y.dll", "C:\\Lib\\y.dll", 1}}));
}

TEST_F(DependencyWalkTest, CyclesEndAndTheStartingFileIsListedWhenImported) {
  AddDll("C:\\App\\server.dll", {"a.dll"});
  AddDll(System("a.dll"), {"b.dll"});
  AddDll(System("b.dll"), {"a.dll", "server.dll"});
  AddDll(System("server.dll"), {"a.dll", "b.dll"});
  EXPECT_EQ(Walk("C:\\App\\server.dll"),
            (std::vector<Entry>{{"a.dll", System("a.dll"), 1},
                                {"b.dll", System("b.dll"), 1},
                                {"server.dll", System("server.dll"), 1}}));
}

TEST_F(DependencyWalkTest, NamesCompareWithoutCaseAndKeepTheFirstSpelling) {
  AddDll("C:\\App\\server.dll", {"a.dll", "b.dll", "SHARED.dll"});
  AddDll(System("a.dll"), {"Shared.DLL"});
  AddDll(System("b.dll"), {"shared.dll"});
  AddDll(System("shared.dll"), {});
  const auto entries = Walk("C:\\App\\server.dll");
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[1], (Entry{"Shared.DLL", System("Shared.DLL"), 1}));
}

TEST_F(DependencyWalkTest, EntriesAlreadyInTheListCountAsKnown) {
  AddDll("C:\\App\\server.dll", {"A.DLL", "b.dll"});
  AddDll(System("a.dll"), {"c.dll"});
  auto known = std::make_unique<CFileObject>(env.platform);
  known->SetServer("a.dll", "");
  list.push_back(std::move(known));
  EXPECT_EQ(Walk("C:\\App\\server.dll"),
            (std::vector<Entry>{{"a.dll", "", 0}, {"b.dll", "", 0}}));
}

TEST_F(DependencyWalkTest, FilesThatCannotBeReadGiveNoEntries) {
  AddDll("C:\\App\\none.dll", {});
  EXPECT_TRUE(Walk("C:\\App\\none.dll").empty());
  std::vector<std::uint8_t> not_pe = BuildPeImage({"a.dll"}).bytes;
  not_pe[0] = 'X';
  env.files.SetContents("C:\\App\\notpe.dll", not_pe);
  EXPECT_TRUE(Walk("C:\\App\\notpe.dll", 0).empty());
  env.files.AddFile("C:\\App\\empty.dll");  // no bytes: can't be mapped
  EXPECT_TRUE(Walk("C:\\App\\empty.dll", 0).empty());
  EXPECT_TRUE(Walk("C:\\App\\absent.dll", 0).empty());
}

TEST_F(DependencyWalkTest, UnreadableDependencyStaysListedAndTheWalkGoesOn) {
  AddDll("C:\\App\\server.dll", {"text.dll", "b.dll"});
  env.files.SetContents(System("text.dll"), {'h', 'e', 'l', 'l', 'o'});
  AddDll(System("b.dll"), {"c.dll"});
  EXPECT_EQ(Walk("C:\\App\\server.dll"),
            (std::vector<Entry>{{"text.dll", System("text.dll"), 1},
                                {"b.dll", System("b.dll"), 1},
                                {"c.dll", "", 0}}));
}

// Files whose reading runs out of memory, as a crafted file could make it.
class ExhaustingFiles : public MemoryFiles {
 public:
  std::unique_ptr<FileView> MapFile(const char* path) override {
    if (exhausting == path) throw std::bad_alloc();
    return MemoryFiles::MapFile(path);
  }
  std::string exhausting;
};

TEST_F(DependencyWalkTest, FileThatExhaustsMemoryIsOneUnreadableFile) {
  ExhaustingFiles files;
  files.SetSearchFolders({kSystem});
  const Platform platform{env.registry, files, env.modules, env.notice};
  files.SetContents("C:\\App\\server.dll", BuildPeImage({"bomb.dll", "b.dll"}).bytes);
  files.SetContents(System("bomb.dll"), BuildPeImage({"never.dll"}).bytes);
  files.SetContents(System("b.dll"), BuildPeImage({"c.dll"}).bytes);
  files.exhausting = System("bomb.dll");
  EXPECT_EQ(GetFileDependencies(platform, "C:\\App\\server.dll", list), 1);
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[0]->GetFilePath(), System("bomb.dll"));
  EXPECT_EQ(list[1]->module_name(), "b.dll");
  EXPECT_EQ(list[2]->module_name(), "c.dll");

  list.clear();
  files.exhausting = "C:\\App\\server.dll";
  EXPECT_EQ(GetFileDependencies(platform, "C:\\App\\server.dll", list), 0);
  EXPECT_TRUE(list.empty());
}

TEST_F(DependencyWalkTest, ImporterFolderEndsAtEitherSlashAndABareNameHasNone) {
  AddDll("C:/App/server.dll", {"x.dll"});
  AddDll("C:/App/x.dll", {});
  AddDll(System("x.dll"), {});
  EXPECT_EQ(Walk("C:/App/server.dll"), (std::vector<Entry>{{"x.dll", "C:/App/x.dll", 1}}));

  list.clear();
  AddDll("C:\\Mixed/Sub\\server.dll", {"y.dll"});
  AddDll("C:\\Mixed/Sub\\y.dll", {});
  EXPECT_EQ(Walk("C:\\Mixed/Sub\\server.dll"),
            (std::vector<Entry>{{"y.dll", "C:\\Mixed/Sub\\y.dll", 1}}));

  // Nothing lies "in" a bare name; the search order finds the DLL.
  list.clear();
  AddDll("server.dll", {"z.dll"});
  AddDll("server.dll\\z.dll", {});
  AddDll(System("z.dll"), {});
  EXPECT_EQ(Walk("server.dll"), (std::vector<Entry>{{"z.dll", System("z.dll"), 1}}));
}

TEST_F(DependencyWalkTest, VeryLongChainIsWalkedInOrder) {
  const int depth = 20000;
  auto name = [](int i) { return "d" + std::to_string(i) + ".dll"; };
  AddDll("C:\\App\\server.dll", {name(0)});
  for (int i = 0; i < depth; ++i) AddDll(System(name(i)), {name(i + 1), "server.dll"});
  const auto entries = Walk("C:\\App\\server.dll");
  ASSERT_EQ(entries.size(), static_cast<std::size_t>(depth + 2));
  EXPECT_EQ(entries[1].name, "d1.dll");
  EXPECT_EQ(entries[depth], (Entry{name(depth), "", 0}));
  EXPECT_EQ(entries[depth + 1].name, "server.dll");  // first imported by the deepest DLL
}

TEST_F(DependencyWalkTest, NamesTooLongForAPath) {
  // Beside the server it would make too long a path: not looked for there.
  const std::string long_name(255, 'n');
  env.files.AddFile("C:\\App\\" + long_name);
  // No DLL name is longer than a path: the import table is malformed from there on.
  AddDll("C:\\App\\server.dll", {long_name, std::string(260, 'm'), "after.dll"});
  EXPECT_EQ(Walk("C:\\App\\server.dll"), (std::vector<Entry>{{long_name, "", 0}}));
}

class RecordingTree : public DependencyTree {
 public:
  void InsertEntry(std::unique_ptr<CFileObject> entry, int image) override {
    items.push_back({entry->module_name(), entry->GetFilePath(), image});
    entries.push_back(std::move(entry));
  }
  std::vector<Entry> items;  // the image in place of the exists flag
  std::vector<std::unique_ptr<CFileObject>> entries;
};

class FillDependenciesTest : public DependencyWalkTest {
 protected:
  std::vector<Entry> Fill(const std::string& server) {
    env.AddClass("{D}", "InprocServer32", server);
    CDllServerObject record(env.platform, "{D}");
    RecordingTree tree;
    record.FillDependencies(tree);
    return tree.items;
  }
};

TEST_F(FillDependenciesTest, EntriesGoInListOrderWithImagesByFoundMissingOrDelayLoaded) {
  PeLayout layout;
  layout.delay_imports = {"later.dll", "never.dll"};
  AddDll("C:\\App\\server.dll", {"a.dll", "gone.dll"}, layout);
  AddDll(System("a.dll"), {});
  AddDll(System("later.dll"), {});
  EXPECT_EQ(Fill("C:\\App\\server.dll"),
            (std::vector<Entry>{{"a.dll", System("a.dll"), 0},
                                {"gone.dll", "", 1},
                                {"later.dll", System("later.dll"), 4},
                                {"never.dll", "", 1}}));
}

TEST_F(FillDependenciesTest, MisbehavedRecordAddsNothingEvenWhenTheFileAppearsLater) {
  env.AddClass("{D}", "InprocServer32", "C:\\App\\late.dll");
  CDllServerObject record(env.platform, "{D}");
  ASSERT_EQ(record.exists(), 0);
  AddDll("C:\\App\\late.dll", {"a.dll"});
  RecordingTree tree;
  record.FillDependencies(tree);
  EXPECT_TRUE(tree.items.empty());
}

TEST_F(FillDependenciesTest, PathWithArgumentsOrNoImportsAddsNothing) {
  AddDll("C:\\App\\server.exe", {"a.dll"});
  EXPECT_TRUE(Fill("C:\\App\\server.exe /automation").empty());
  AddDll("C:\\App\\plain.dll", {});
  EXPECT_TRUE(Fill("C:\\App\\plain.dll").empty());
}

}  // namespace
}  // namespace corvane
