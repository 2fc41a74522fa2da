// What the walk does where the plain search finds nothing: API sets, side-by-side
// assemblies, the loader, delay-loaded imports and the importer's bitness.
#include <gtest/gtest.h>

#include "catalogue/api_set_schema.h"
#include "catalogue/dependency_walker.h"
#include "tests/unit/api_set_test_schema.h"
#include "tests/unit/memory_platform.h"
#include "tests/unit/pe_test_image.h"
#include "tools/missing_dependencies.h"

namespace corvane {
namespace {

const char kSystem[] = "C:\\Windows\\System32";
const char kServer[] = "C:\\App\\server.dll";

std::string System(const std::string& name) { return std::string(kSystem) + "\\" + name; }

TEST(ApiSetSchemaTest, ContractsMatchWithoutCaseExtensionOrLastVersion) {
  const ApiSetSchema schema(BuildApiSetSchema({
      {"api-ms-win-core-synch-l1-2-0", "kernelbase.dll", {{"kernel32.dll", "ntdll.dll"}}},
      {"api-ms-win-deprecated-apis-legacy-l1-1-0", "", {}},
  }));
  ASSERT_TRUE(schema.readable());
  std::string host;
  for (const char* name : {"api-ms-win-core-synch-l1-2-0.dll", "API-MS-WIN-CORE-SYNCH-L1-2-7.DLL",
                           "api-ms-win-core-synch-l1-2-1"}) {
    host.clear();
    EXPECT_EQ(schema.Resolve(name, "server.dll", &host), ApiSetSchema::Answer::kHost) << name;
    EXPECT_EQ(host, "kernelbase.dll");
  }
  // The importer the schema names a host of its own for gets that one.
  EXPECT_EQ(schema.Resolve("api-ms-win-core-synch-l1-2-0.dll", "KERNEL32.DLL", &host),
            ApiSetSchema::Answer::kHost);
  EXPECT_EQ(host, "ntdll.dll");
  EXPECT_EQ(schema.Resolve("api-ms-win-core-synch-l1-3-0.dll", "server.dll", &host),
            ApiSetSchema::Answer::kUnknown);
  EXPECT_EQ(schema.Resolve("api-ms-win-deprecated-apis-legacy-l1-1-0.dll", "a.dll", &host),
            ApiSetSchema::Answer::kNoHost);
  EXPECT_TRUE(ApiSetSchema::IsContractName("Ext-MS-win-x-l1-1-0.dll"));
  EXPECT_FALSE(ApiSetSchema::IsContractName("apisetschema.dll"));
}

TEST(ApiSetSchemaTest, OtherLayoutsAndSpoiltBytesResolveNothing) {
  std::vector<std::uint8_t> bytes = BuildApiSetSchema({{"api-ms-win-a-l1-1-0", "a.dll", {}}});
  std::vector<std::uint8_t> other = bytes;
  other[0] = 4;
  EXPECT_FALSE(ApiSetSchema(other).readable());
  EXPECT_FALSE(ApiSetSchema({}).readable());
  // An entry count far beyond the bytes.
  std::vector<std::uint8_t> counted = bytes;
  counted[14] = 0xFF;
  EXPECT_FALSE(ApiSetSchema(counted).readable());
  // A name that runs off the end drops that contract only.
  std::vector<std::uint8_t> cut = bytes;
  cut[28 + 9] = 0x7F;  // the name's length
  std::string host;
  const ApiSetSchema spoilt(cut);
  EXPECT_TRUE(spoilt.readable());
  EXPECT_EQ(spoilt.Resolve("api-ms-win-a-l1-1-0", "x.dll", &host), ApiSetSchema::Answer::kUnknown);
}

class LoaderLookupTest : public ::testing::Test {
 protected:
  LoaderLookupTest() {
    env.files.SetSearchFolders({kSystem, "C:\\App\\Stray"});
    env.modules.SetApiSetSchema(BuildApiSetSchema({
        {"api-ms-win-core-synch-l1-2-0", "kernelbase.dll", {}},
        {"api-ms-win-deprecated-apis-legacy-l1-1-0", "", {}},
        {"api-ms-win-gone-l1-1-0", "nowhere.dll", {}},
    }));
    AddDll(System("kernelbase.dll"), {});
  }

  void AddDll(const std::string& path, const std::vector<std::string>& imports,
              PeLayout layout = {}) {
    env.files.SetContents(path, BuildPeImage(imports, layout).bytes);
  }

  std::vector<Dependency> Walk(const std::string& path = kServer) {
    std::unordered_set<std::string> known;
    std::vector<Dependency> entries;
    SystemDependencyLookup lookup(env.files, env.modules);
    EXPECT_TRUE(WalkDependencies(lookup, path, known, &entries));
    return entries;
  }

  MemoryPlatform env;
};

std::vector<std::string> Describe(const std::vector<Dependency>& entries) {
  std::vector<std::string> out;
  for (const Dependency& entry : entries) {
    out.push_back(entry.name + " " + entry.path + " " + FoundByText(entry.by) +
                  (entry.delay ? " delay" : ""));
  }
  return out;
}

TEST_F(LoaderLookupTest, ContractsGoThroughTheSchemaBeforeAnyFile) {
  AddDll(kServer, {"API-MS-WIN-CORE-SYNCH-L1-2-0.dll", "api-ms-win-deprecated-apis-legacy-l1-1-0.dll",
                   "api-ms-win-unknown-l1-1-0.dll", "api-ms-win-gone-l1-1-0.dll"});
  // Stray files of those names on the search path are not what the loader maps.
  for (const char* stray : {"api-ms-win-core-synch-l1-2-0.dll", "api-ms-win-unknown-l1-1-0.dll",
                            "api-ms-win-deprecated-apis-legacy-l1-1-0.dll"}) {
    AddDll(std::string("C:\\App\\Stray\\") + stray, {});
  }
  env.modules.AddLoaderDll("api-ms-win-gone-l1-1-0.dll", System("somewhere.dll"));
  EXPECT_EQ(Describe(Walk()),
            (std::vector<std::string>{
                "API-MS-WIN-CORE-SYNCH-L1-2-0.dll " + System("kernelbase.dll") + " API set",
                "api-ms-win-deprecated-apis-legacy-l1-1-0.dll  API set without host",
                "api-ms-win-unknown-l1-1-0.dll  not found",
                "api-ms-win-gone-l1-1-0.dll  not found"}));
  // Without a schema this reader knows, contracts are left to the ordinary steps.
  env.modules.SetApiSetSchema({});
  EXPECT_EQ(Walk()[0].path, "C:\\App\\Stray\\API-MS-WIN-CORE-SYNCH-L1-2-0.dll");
  EXPECT_EQ(Walk()[3].by, FoundBy::kLoader);
}

TEST_F(LoaderLookupTest, AssemblyThenLoaderAreAskedOnlyWhenThePlainSearchFindsNothing) {
  AddDll(kServer, {"plain.dll", "private.dll", "builtin.dll", "nowhere.dll"});
  AddDll(System("plain.dll"), {});
  AddDll("C:\\App\\Private\\private.dll", {"inner.dll"});
  AddDll("C:\\App\\Private\\inner.dll", {});
  AddDll("C:\\Wine\\builtin.dll", {});
  env.modules.AddAssemblyDll(kServer, "private.dll", "C:\\App\\Private\\private.dll");
  env.modules.AddLoaderDll("plain.dll", "C:\\Elsewhere\\plain.dll");
  env.modules.AddLoaderDll("private.dll", "C:\\Elsewhere\\private.dll");
  env.modules.AddLoaderDll("builtin.dll", "C:\\Wine\\builtin.dll");
  EXPECT_EQ(Describe(Walk()),
            (std::vector<std::string>{
                "plain.dll " + System("plain.dll") + " search path",
                "private.dll C:\\App\\Private\\private.dll assembly",
                // The assembly's own DLLs are found beside it.
                "inner.dll C:\\App\\Private\\inner.dll folder",
                "builtin.dll C:\\Wine\\builtin.dll loader",
                "nowhere.dll  not found"}));
  EXPECT_EQ(env.modules.assembly_questions(), 3);
  EXPECT_EQ(env.modules.loader_questions(), 2);
}

TEST_F(LoaderLookupTest, AFileOfTheOtherBitnessIsRefusedAndTheImportersOwnSystemFolderComesFirst) {
  PeLayout wide;
  wide.pe32_plus = true;
  AddDll(kServer, {"only64.dll", "both.dll"});
  AddDll("C:\\App\\only64.dll", {"never.dll"}, wide);
  AddDll(System("both.dll"), {}, wide);
  AddDll("C:\\Windows\\SysWOW64\\both.dll", {});
  env.files.SetOtherSystemFolder(false, "C:\\Windows\\SysWOW64");
  EXPECT_EQ(Describe(Walk()),
            (std::vector<std::string>{"only64.dll C:\\App\\only64.dll wrong bitness",
                                      "both.dll C:\\Windows\\SysWOW64\\both.dll search path"}));
  MissingDependencySearch search(env.files, env.modules);
  EXPECT_EQ(search.MissingOf(kServer), std::vector<std::string>{"only64.dll"});
  std::vector<std::unique_ptr<CFileObject>> list;
  ASSERT_EQ(GetFileDependencies(env.platform, kServer, list), 1);
  EXPECT_EQ(list[0]->exists(), 0);
  EXPECT_EQ(list[0]->GetFilePath(), "C:\\App\\only64.dll");
}

TEST_F(LoaderLookupTest, DelayLoadedDllsFollowTheOrdinaryOnesAndNeverFailTheServer) {
  PeLayout layout;
  layout.delay_imports = {"later.dll", "absent.dll"};
  AddDll(kServer, {"now.dll"}, layout);
  AddDll(System("now.dll"), {});
  AddDll(System("later.dll"), {"deep.dll", "gone.dll"});
  AddDll(System("deep.dll"), {});
  EXPECT_EQ(Describe(Walk()),
            (std::vector<std::string>{"now.dll " + System("now.dll") + " search path",
                                      "later.dll " + System("later.dll") + " search path delay",
                                      "deep.dll " + System("deep.dll") + " folder delay",
                                      "gone.dll  not found delay",
                                      "absent.dll  not found delay"}));
  MissingDependencySearch search(env.files, env.modules);
  EXPECT_TRUE(search.MissingOf(kServer).empty());
}

TEST_F(LoaderLookupTest, ADllMetFirstBelowADelayLoadLosesItsMarkWhenLoadedAtOnceElsewhere) {
  // a.dll delay-loads b.dll, which needs gone.dll; c.dll, loaded at once, needs b.dll too.
  PeLayout delays_b;
  delays_b.delay_imports = {"b.dll"};
  AddDll(kServer, {"a.dll", "c.dll"});
  AddDll(System("a.dll"), {}, delays_b);
  AddDll(System("b.dll"), {"gone.dll", "d.dll"});
  AddDll(System("d.dll"), {});
  AddDll(System("c.dll"), {"b.dll"});
  const std::vector<Dependency> entries = Walk();
  ASSERT_EQ(entries.size(), 5u);
  for (const Dependency& entry : entries) EXPECT_FALSE(entry.delay) << entry.name;
  MissingDependencySearch search(env.files, env.modules);
  EXPECT_EQ(search.MissingOf(kServer), std::vector<std::string>{"gone.dll"});
}

TEST_F(LoaderLookupTest, ASharedSearchAsksEachNewQuestionOnce) {
  AddDll(kServer, {"x.dll", "api-ms-win-core-synch-l1-2-0.dll"});
  AddDll("C:\\App\\other.dll", {"x.dll", "api-ms-win-core-synch-l1-2-0.dll"});
  env.modules.AddLoaderDll("x.dll", "C:\\Wine\\x.dll");
  AddDll("C:\\Wine\\x.dll", {});
  MissingDependencySearch search(env.files, env.modules);
  for (int pass = 0; pass < 2; ++pass) {
    EXPECT_TRUE(search.MissingOf(kServer).empty());
    EXPECT_TRUE(search.MissingOf("C:\\App\\other.dll").empty());
  }
  // One folder, so one assembly question per importer and one loader question in all.
  EXPECT_EQ(env.modules.assembly_questions(), 2);
  EXPECT_EQ(env.modules.loader_questions(), 1);
}

}  // namespace
}  // namespace corvane
