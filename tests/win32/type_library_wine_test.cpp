// Type libraries through the real oleaut32: the fixture control's library read member by
// member against its IDL source, each broken registration's status, and damaged files.
#include <gtest/gtest.h>

#include "catalogue/attributes.h"
#include "catalogue/object_kinds.h"
#include "catalogue/type_library_check.h"
#include "catalogue/type_library_tree.h"
#include "platform/win32/win32_type_libraries.h"
#include "tests/win32/idl_oracle.h"
#include "tests/win32/scratch_classes.h"

namespace corvane {
namespace {

const char kFixtureClsid[] = "{6E3A1C52-8F0B-4D27-9B1E-2C7D5A40F913}";
const char kFixtureLib[] = "{B94D07E1-3A62-4C8F-A5D3-71E0C2F8B6A4}";
const char* const kPlatformKey = sizeof(void*) == 8 ? "win64" : "win32";

class TypeLibraryWine : public ::testing::Test {
 protected:
  TypeLibraryWine() { win32_.platform.type_libraries = &libraries_; }

  Win32TypeLibraries libraries_;
  Win32Platform win32_;
};

TEST_F(TypeLibraryWine, FixtureLibraryShowsWhatItsIdlDeclares) {
  const std::vector<IdlType> oracle = ReadFixtureIdl();
  ASSERT_EQ(oracle.size(), 6u);
  for (const char* file : {"corvane_fixture_control.tlb", "corvane_fixture_control.ocx"}) {
    SCOPED_TRACE(file);
    TypeLibrary library;
    ASSERT_EQ(libraries_.LoadFile(FixturePath(file), &library), 0);
    EXPECT_EQ(library.name, "CorvaneFixtureLib");
    EXPECT_EQ(library.guid, kFixtureLib);
    EXPECT_EQ(library.help, "Corvane Fixture Control Library");
    EXPECT_EQ(library.imports, std::vector<std::string>{"stdole2.tlb"});
    EXPECT_EQ(FindDamage(library), "");
    const TypeLibNode root = BuildTypeLibTree(library, kFixtureClsid);
    ASSERT_EQ(root.children.size(), oracle.size());
    for (const IdlType& type : oracle) {
      const TypeLibNode* node = FindTypeNode(root, type.heading);
      ASSERT_NE(node, nullptr) << type.heading << "\n" << TreeText(root);
      EXPECT_EQ(MemberTexts(*node), type.members) << type.heading;
    }
    // The class's own coclass leads, selected, and its defaults are marked where they are.
    EXPECT_EQ(root.children[0].text, "coclass CorvaneFixtureControl (control)");
    EXPECT_TRUE(root.children[0].selected);
    EXPECT_NE(FindTypeNode(root, "interface IFixtureControl")->text.find("(dual, oleautomation) - default interface"),
              std::string::npos);
    EXPECT_NE(FindTypeNode(root, "dispinterface _DFixtureEvents")->text.find(" - default events"),
              std::string::npos);
  }
}

TEST_F(TypeLibraryWine, DamagedFilesGiveAnErrorInWords) {
  TypeLibrary library;
  const long truncated = libraries_.LoadFile(FixturePath("corvane_fixture_truncated.tlb"), &library);
  EXPECT_TRUE(IsFailedResult(truncated)) << truncated;
  const std::string words = libraries_.DescribeResult(truncated);
  EXPECT_NE(words.find("(0x8"), std::string::npos) << words;
  EXPECT_GT(words.find("(0x8"), 3u) << words;

  TypeLibrary cyclic;
  const long loaded = libraries_.LoadFile(FixturePath("corvane_fixture_cyclic.tlb"), &cyclic);
  if (!IsFailedResult(loaded)) {
    EXPECT_EQ(FindDamage(cyclic), "The alias AliasA is defined through itself.");
  }
  EXPECT_TRUE(IsFailedResult(libraries_.LoadFile(FixturePath("corvane_fixture_missing.tlb"), &library)));
}

TEST_F(TypeLibraryWine, EachBrokenRegistrationHasItsStatus) {
  ScratchClasses classes;
  ScratchFolder folder("corvane_typelib_test");
  const std::string truncated = folder.path() + "\\truncated.tlb";
  ASSERT_TRUE(CopyFileA(FixturePath("corvane_fixture_truncated.tlb").c_str(), truncated.c_str(), FALSE));
  struct Case {
    const char* clsid;
    const char* lib;
    const char* file;  // null: no version key; "": a version without a file value
    const char* status;
  };
  const std::string control = FixturePath("corvane_fixture_control.ocx");
  const std::string gone = folder.path() + "\\gone.tlb";
  const Case cases[] = {
      {"{C2400000-0000-0000-0000-000000000001}", "{C2410000-0000-0000-0000-000000000001}", nullptr, "Not Registered"},
      {"{C2400000-0000-0000-0000-000000000002}", "{C2410000-0000-0000-0000-000000000002}", nullptr, "No Version Registered"},
      {"{C2400000-0000-0000-0000-000000000003}", "{C2410000-0000-0000-0000-000000000003}", "", "No File Registered"},
      {"{C2400000-0000-0000-0000-000000000004}", "{C2410000-0000-0000-0000-000000000004}", gone.c_str(), "File Missing"},
      {"{C2400000-0000-0000-0000-000000000005}", "{C2410000-0000-0000-0000-000000000005}", truncated.c_str(), "Does Not Load"},
      {kFixtureClsid, kFixtureLib, control.c_str(), "OK"},
  };
  for (const Case& c : cases) {
    const std::string clsid_key = std::string("CLSID\\") + c.clsid;
    classes.Set(clsid_key + "\\InprocServer32", nullptr, control);
    classes.Set(clsid_key + "\\TypeLib", nullptr, c.lib);
    classes.Set(clsid_key + "\\Version", nullptr, "1.0");
    const std::string lib_key = std::string("TypeLib\\") + c.lib;
    if (std::string(c.status) == "No Version Registered") classes.AddKey(lib_key + "\\FLAGS");
    if (c.file != nullptr) classes.AddKey(lib_key + "\\1.0\\0");
    if (c.file != nullptr && *c.file != '\0') classes.Set(lib_key + "\\1.0\\0\\" + kPlatformKey, nullptr, c.file);
    CControlObject record(win32_.platform, c.clsid);
    EXPECT_EQ(record.GetAttribute(kAttrTypeLibStatus), c.status) << c.clsid;
    // A broken type library leaves the record well behaved.
    EXPECT_EQ(record.exists(), 1);
  }
  const TypeLibCheck refused = CheckTypeLibrary(win32_.platform, cases[4].lib, "1.0", true);
  EXPECT_EQ(TypeLibSentence(refused).find("The type library file " + truncated + " does not load: "), 0u)
      << TypeLibSentence(refused);
  const TypeLibCheck whole = CheckTypeLibrary(win32_.platform, kFixtureLib, "1.0", true);
  EXPECT_EQ(whole.library.types.size(), 6u);
}

}  // namespace
}  // namespace corvane
