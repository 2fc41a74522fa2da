// Type libraries: the registration check of each state, the IDL text, the damage found in
// what a library declares, and the tree the page and the console show.
#include <gtest/gtest.h>

#include "catalogue/attributes.h"
#include "catalogue/object_kinds.h"
#include "catalogue/type_library_check.h"
#include "catalogue/type_library_idl.h"
#include "catalogue/type_library_layout.h"
#include "catalogue/type_library_tree.h"
#include "platform/memory/memory_type_libraries.h"
#include "tests/unit/memory_platform.h"
#include "tools/inventory_report.h"

namespace corvane {
namespace {

const char kClsid[] = "{11111111-2222-3333-4444-555555555555}";
const char kLib[] = "{AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE}";
const char kFile[] = "C:\\Controls\\gauge.tlb";

TypeLibMember Method(const std::string& name, long id, MemberKind kind = MemberKind::kMethod) {
  TypeLibMember member;
  member.kind = kind;
  member.name = name;
  member.type = "HRESULT";
  member.id = id;
  member.show_id = true;
  return member;
}

TypeLibParam Param(const std::string& type, const std::string& name) {
  TypeLibParam param;
  param.type = type;
  param.name = name;
  param.in = true;
  return param;
}

// A control's library: its coclass after the other types, as libraries often order them.
TypeLibrary GaugeLibrary() {
  TypeLibrary lib;
  lib.name = "GaugeLib";
  lib.guid = kLib;
  lib.major = 2;
  lib.minor = 1;
  lib.help = "Gauge \"Pro\" Library";

  TypeLibType alias;
  alias.kind = TypeKind::kAlias;
  alias.name = "GaugeRange";
  alias.alias_of = "GaugeSpan";
  alias.uses = {"GaugeSpan"};

  TypeLibType span;
  span.kind = TypeKind::kRecord;
  span.name = "GaugeSpan";
  TypeLibMember low;
  low.kind = MemberKind::kField;
  low.type = "long";
  low.name = "low";
  TypeLibMember marks = low;
  marks.name = "marks";
  marks.suffix = "[4]";
  span.members = {low, marks};

  TypeLibType gauge;
  gauge.kind = TypeKind::kInterface;
  gauge.name = "IGauge";
  gauge.guid = "{12345678-0000-0000-0000-000000000001}";
  gauge.base = "IDispatch";
  gauge.flags = {"dual", "oleautomation"};
  TypeLibMember get = Method("Value", 0, MemberKind::kPropGet);
  TypeLibParam out = Param("long*", "value");
  out.in = false;
  out.out = out.retval = true;
  get.params = {out};
  TypeLibMember move = Method("Move", 7);
  TypeLibParam by = Param("long", "by");
  by.optional = by.has_default = true;
  by.default_value = "10";
  move.params = {Param("BSTR", "name"), by};
  move.flags = {"hidden"};
  move.help = "Moves \"it\"";
  TypeLibMember enumerate = Method("_NewEnum", -4, MemberKind::kPropGet);
  gauge.members = {get, move, enumerate};

  TypeLibType events;
  events.kind = TypeKind::kDispinterface;
  events.name = "_DGaugeEvents";
  TypeLibMember changed = Method("Changed", 1);
  changed.type = "void";
  TypeLibMember level;
  level.kind = MemberKind::kProperty;
  level.name = "Level";
  level.type = "long";
  level.id = 2;
  level.show_id = true;
  events.members = {changed, level};

  TypeLibType other;
  other.kind = TypeKind::kCoclass;
  other.name = "GaugePage";
  other.guid = "{99999999-0000-0000-0000-000000000000}";

  TypeLibType coclass;
  coclass.kind = TypeKind::kCoclass;
  coclass.name = "Gauge";
  coclass.guid = kClsid;
  coclass.flags = {"control"};
  TypeLibImpl vtable{"IGauge", false, true, false, false, false};
  TypeLibImpl source{"_DGaugeEvents", true, true, true, false, false};
  coclass.impls = {vtable, source};

  lib.types = {alias, span, gauge, events, other, coclass};
  return lib;
}

TEST(TypeLibraryIdl, MembersAreWrittenAsIdlSignatures) {
  const TypeLibrary lib = GaugeLibrary();
  const TypeLibType& gauge = lib.types[2];
  EXPECT_EQ(MemberSignature(gauge, gauge.members[0]),
            "[id(0x00000000), propget] HRESULT Value([out, retval] long* value)");
  EXPECT_EQ(MemberSignature(gauge, gauge.members[1]),
            "[id(0x00000007), hidden, helpstring(\"Moves \\\"it\\\"\")] HRESULT Move([in] BSTR name, "
            "[in, optional, defaultvalue(10)] long by)");
  // A negative dispid stays readable and compiles.
  EXPECT_EQ(MemberSignature(gauge, gauge.members[2]), "[id(-4), propget] HRESULT _NewEnum()");
  EXPECT_EQ(MemberSignature(lib.types[1], lib.types[1].members[1]), "long marks[4]");
  EXPECT_EQ(MemberSignature(lib.types[3], lib.types[3].members[1]), "[id(0x00000002)] long Level");
  EXPECT_EQ(TypeHeading(gauge), "interface IGauge : IDispatch (dual, oleautomation)");
  EXPECT_EQ(TypeIdl(lib.types[3]),
            "dispinterface _DGaugeEvents {\n"
            "  properties:\n"
            "    [id(0x00000002)] long Level;\n"
            "  methods:\n"
            "    [id(0x00000001)] void Changed();\n"
            "};\n");
}

TEST(TypeLibraryIdl, LibraryTextDeclaresEachTypeAfterWhatItUses) {
  const std::string idl = LibraryIdl(GaugeLibrary());
  EXPECT_EQ(idl.find("import \"oaidl.idl\";"), 0u);
  EXPECT_NE(idl.find("[uuid(AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE), version(2.1), "
                     "helpstring(\"Gauge \\\"Pro\\\" Library\")]\nlibrary GaugeLib\n{\n"),
            std::string::npos)
      << idl;
  // The struct comes before the alias of it, although the library lists it second.
  const std::size_t span = idl.find("typedef struct GaugeSpan {");
  const std::size_t alias = idl.find("typedef [public] GaugeSpan GaugeRange;");
  ASSERT_NE(span, std::string::npos) << idl;
  ASSERT_NE(alias, std::string::npos) << idl;
  EXPECT_LT(span, alias);
  // Interfaces are declared ahead, so the order of their bodies can't matter.
  EXPECT_LT(idl.find("  dispinterface _DGaugeEvents;\n"), idl.find("  [uuid(12345678"));
  EXPECT_NE(idl.find("  coclass Gauge {\n    [default] interface IGauge;\n"
                     "    [default, source] dispinterface _DGaugeEvents;\n  };\n"),
            std::string::npos)
      << idl;
  EXPECT_EQ(idl.substr(idl.size() - 3), "};\n");
}

TEST(TypeLibraryIdl, AliasesThatLeadBackToThemselvesAreDamage) {
  TypeLibrary lib = GaugeLibrary();
  EXPECT_EQ(FindDamage(lib), "");
  TypeLibType second;
  second.kind = TypeKind::kAlias;
  second.name = "GaugeSpan2";
  second.alias_of = "GaugeRange";
  second.uses = {"GaugeRange"};
  lib.types.push_back(second);
  EXPECT_EQ(FindDamage(lib), "");
  lib.types[0].uses = {"GaugeSpan2"};  // GaugeRange -> GaugeSpan2 -> GaugeRange
  EXPECT_NE(FindDamage(lib).find("is defined through itself"), std::string::npos);
  // Writing such a library still ends.
  EXPECT_FALSE(LibraryIdl(lib).empty());
}

TEST(TypeLibraryTree, OwnCoclassLeadsIsSelectedAndNamesItsDefaults) {
  const TypeLibNode root = BuildTypeLibTree(GaugeLibrary(), "{11111111-2222-3333-4444-555555555555}");
  EXPECT_EQ(root.text, "library GaugeLib 2.1 - Gauge \"Pro\" Library");
  EXPECT_FALSE(root.selected);
  std::vector<std::string> texts;
  for (const TypeLibNode& node : root.children) texts.push_back(node.text);
  EXPECT_EQ(texts, (std::vector<std::string>{
                       "coclass Gauge (control)", "coclass GaugePage",
                       "interface IGauge : IDispatch (dual, oleautomation) - default interface",
                       "dispinterface _DGaugeEvents - default events", "typedef struct GaugeSpan",
                       "typedef GaugeSpan GaugeRange"}));
  EXPECT_TRUE(root.children[0].selected);
  ASSERT_EQ(root.children[0].children.size(), 2u);
  EXPECT_EQ(root.children[0].children[1].text,
            "[default, source] dispinterface _DGaugeEvents - default events");
  EXPECT_EQ(root.children[2].children[0].idl,
            "[id(0x00000000), propget] HRESULT Value([out, retval] long* value);\n");
  // Another class of the library marks nothing and leaves the library selected.
  const TypeLibNode plain = BuildTypeLibTree(GaugeLibrary(), "");
  EXPECT_TRUE(plain.selected);
  EXPECT_EQ(plain.children[2].text, "interface IGauge : IDispatch (dual, oleautomation)");
}

// A library of one type whose tables all lie inside it.
std::vector<std::uint8_t> SoundLayout() {
  std::vector<std::uint8_t> bytes(0x400, 0);
  auto put = [&bytes](std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
  };
  bytes[0] = 'M', bytes[1] = 'S', bytes[2] = 'F', bytes[3] = 'T';
  put(0x20, 1);  // one type
  const std::size_t directory = 0x54 + 4;
  for (std::size_t i = 0; i < 15; ++i) put(directory + 16 * i, 0xFFFFFFFF);
  put(directory, 0x200);
  put(directory + 4, 0x64);
  put(directory + 16 * 7, 0x300);  // another table, ending at the file's end
  put(directory + 16 * 7 + 4, 0x100);
  return bytes;
}

TEST(TypeLibraryLayout, TablesPastTheEndAreRefusedBeforeTheLoaderSeesThem) {
  std::vector<std::uint8_t> bytes = SoundLayout();
  EXPECT_TRUE(TypeLibLayoutSound(bytes.data(), bytes.size()));
  for (std::size_t cut : {std::size_t{0x3FF}, std::size_t{0x150}, std::size_t{0x30}})
    EXPECT_FALSE(TypeLibLayoutSound(bytes.data(), cut)) << cut;
  // More types than the first table holds.
  bytes[0x20] = 2;
  EXPECT_FALSE(TypeLibLayoutSound(bytes.data(), bytes.size()));
  bytes = SoundLayout();
  bytes[0x58 + 16 * 7 + 7] = 0x80;  // a length that wraps around
  EXPECT_FALSE(TypeLibLayoutSound(bytes.data(), bytes.size()));
  // Another format is the loader's to judge.
  const std::uint8_t other[] = {'S', 'L', 'T', 'G', 0};
  EXPECT_TRUE(TypeLibLayoutSound(other, sizeof other));
}

class TypeLibCheckTest : public ::testing::Test {
 protected:
  TypeLibCheckTest() {
    env_.platform.type_libraries = &libraries_;
    env_.AddClass(kClsid, "InprocServer32", "C:\\Controls\\gauge.ocx");
    env_.files.AddFile("C:\\Controls\\gauge.ocx");
    env_.AddClass(kClsid, "TypeLib", kLib);
    env_.AddClass(kClsid, "Version", "2.1");
  }
  void RegisterFile(const std::string& version, const std::string& platform, const std::string& file) {
    env_.registry.SetString(kClassesRoot, std::string("TypeLib\\") + kLib + "\\" + version + "\\0\\" + platform,
                            "", file);
  }
  TypeLibCheck Check(bool read_all = false) {
    return CheckTypeLibrary(env_.platform, kLib, "2.1", read_all);
  }

  MemoryPlatform env_;
  MemoryTypeLibraries libraries_;
};

TEST_F(TypeLibCheckTest, EachBrokenRegistrationHasItsState) {
  EXPECT_EQ(CheckTypeLibrary(env_.platform, "", "", false).state, TypeLibState::kNotDefined);
  EXPECT_EQ(Check().state, TypeLibState::kNotRegistered);
  EXPECT_NE(TypeLibSentence(Check()).find("HKEY_CLASSES_ROOT\\TypeLib\\" + std::string(kLib) +
                                          " does not exist"),
            std::string::npos);
  // Subkeys that are not versions don't count.
  env_.registry.AddKey(kClassesRoot, std::string("TypeLib\\") + kLib + "\\FLAGS");
  EXPECT_EQ(Check().state, TypeLibState::kNoVersion);
  env_.registry.AddKey(kClassesRoot, std::string("TypeLib\\") + kLib + "\\2.1\\0");
  EXPECT_EQ(Check().state, TypeLibState::kNoFile);
  RegisterFile("2.1", "win32", kFile);
  EXPECT_EQ(Check().state, TypeLibState::kFileMissing);
  EXPECT_NE(TypeLibSentence(Check()).find(kFile), std::string::npos);
  env_.files.AddFile(kFile);
  const TypeLibCheck refused = Check();
  EXPECT_EQ(refused.state, TypeLibState::kDoesNotLoad);
  EXPECT_EQ(TypeLibSentence(refused),
            std::string("The type library file ") + kFile + " does not load: error 0x80029C4A");
  libraries_.AddLibrary(kFile, GaugeLibrary());
  const TypeLibCheck ok = Check();
  EXPECT_EQ(ok.state, TypeLibState::kOk);
  EXPECT_EQ(ok.version, "2.1");
  EXPECT_TRUE(ok.library.types.empty());  // only loaded
  EXPECT_EQ(Check(true).library.types.size(), 6u);
}

TEST_F(TypeLibCheckTest, VersionFileAndResourceChoices) {
  // The class's version is not registered: the highest one is used, by number, not by text.
  RegisterFile("9.0", "win32", "C:\\Old\\gauge9.tlb");
  RegisterFile("a.0", "win32", kFile);
  env_.files.AddFile(kFile);
  libraries_.AddLibrary(kFile, GaugeLibrary());
  TypeLibCheck check = Check();
  EXPECT_EQ(check.version, "a.0");
  EXPECT_EQ(check.state, TypeLibState::kOk);
  // A file value that names a resource of a module is checked by the module's file.
  RegisterFile("2.1", "win32", "%ProgramFiles%\\Gauge\\gauge.dll\\2");
  env_.files.SetVariable("ProgramFiles", "C:\\Program Files");
  env_.files.AddFile("C:\\Program Files\\Gauge\\gauge.dll");
  libraries_.AddFailure("C:\\Program Files\\Gauge\\gauge.dll\\2", static_cast<long>(0x80029C4AL));
  check = Check();
  EXPECT_EQ(check.version, "2.1");
  EXPECT_EQ(check.file, "C:\\Program Files\\Gauge\\gauge.dll\\2");
  EXPECT_EQ(check.state, TypeLibState::kDoesNotLoad);
}

TEST_F(TypeLibCheckTest, DamagedLibraryIsFoundWhenReadWhole) {
  RegisterFile("2.1", "win32", kFile);
  env_.files.AddFile(kFile);
  TypeLibrary cyclic = GaugeLibrary();
  cyclic.types[1].kind = TypeKind::kAlias;
  cyclic.types[1].uses = {"GaugeRange"};
  libraries_.AddLibrary(kFile, cyclic);
  EXPECT_EQ(Check(false).state, TypeLibState::kOk);
  const TypeLibCheck check = Check(true);
  EXPECT_EQ(check.state, TypeLibState::kDamaged);
  EXPECT_TRUE(IsBroken(check.state));
}

TEST_F(TypeLibCheckTest, StatusIsAnAttributeRowAndAReportColumn) {
  CControlObject record(env_.platform, kClsid);
  EXPECT_EQ(record.GetAttribute(kAttrTypeLibStatus), "Not Registered");
  struct Rows : AttributeRows {
    void AddAttributeRow(const std::string& label, const std::string& value, int image) override {
      if (label == "TypeLib Status") found = value + "/" + std::to_string(image);
      labels.push_back(label);
    }
    std::string found;
    std::vector<std::string> labels;
  } rows;
  record.FillAttributes(rows);
  EXPECT_EQ(rows.found, "Not Registered/3");
  EXPECT_EQ(rows.labels[5], "TypeLib Status");

  // The status is the record's own and leaves its behaviour alone.
  EXPECT_EQ(record.exists(), 1);
  InventoryChoices choices;
  choices.format = kReportText;
  choices.attributes = {kAttrProgId, kAttrTypeLibStatus};
  std::vector<CRegisteredObject*> records{&record};
  const std::string text = WriteInventoryReport(env_.platform, records, choices, ReportPageInfo{});
  EXPECT_NE(text.find("\"ProgID\",\"TypeLibStatus\"\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\"Unknown\",\"Not Registered\"\n"), std::string::npos) << text;
}

}  // namespace
}  // namespace corvane
