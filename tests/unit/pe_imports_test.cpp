// Reading the import names of crafted PE images, well formed and spoilt.
#include "catalogue/pe_imports.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/unit/pe_test_image.h"

namespace corvane {
namespace {

using Names = std::vector<std::string>;

bool Read(const std::vector<std::uint8_t>& bytes, Names* names) {
  return ReadImportNames(bytes.data(), bytes.size(), names);
}

TEST(PeImports, ReadsTheNamesInTableOrderInBothLayouts) {
  const Names imports{"KERNEL32.dll", "user32.dll", "OLEAUT32.DLL"};
  for (bool pe32_plus : {false, true}) {
    PeLayout layout;
    layout.pe32_plus = pe32_plus;
    Names names;
    EXPECT_TRUE(Read(BuildPeImage(imports, layout).bytes, &names));
    EXPECT_EQ(names, imports) << (pe32_plus ? "PE32+" : "PE32");
  }
}

TEST(PeImports, SectionTableFollowsTheStatedOptionalHeaderSize) {
  for (bool pe32_plus : {false, true}) {
    PeLayout layout;
    layout.pe32_plus = pe32_plus;
    layout.extra_optional = 40;
    Names names;
    EXPECT_TRUE(Read(BuildPeImage({"a.dll", "b.dll"}, layout).bytes, &names));
    EXPECT_EQ(names, (Names{"a.dll", "b.dll"}));
  }
}

TEST(PeImports, OptionalHeaderTooShortForTheImportEntryHasNoImports) {
  PeTestImage image = BuildPeImage({"a.dll"});
  image.Put16(image.pe + 20, 100);  // ends before data directory entry 1
  Names names;
  EXPECT_TRUE(Read(image.bytes, &names));
  EXPECT_TRUE(names.empty());
}

TEST(PeImports, FileImportingNothingGivesAnEmptyList) {
  Names names;
  EXPECT_TRUE(Read(BuildPeImage({}).bytes, &names));
  EXPECT_TRUE(names.empty());
}

TEST(PeImports, NotAPeFileFails) {
  const PeTestImage good = BuildPeImage({"a.dll"});
  Names names;
  EXPECT_FALSE(Read({}, &names));
  EXPECT_FALSE(Read({'M', 'Z'}, &names));  // too short for e_lfanew

  PeTestImage no_mz = good;
  no_mz.Put16(0, 0x4D5A);  // "ZM"
  EXPECT_FALSE(Read(no_mz.bytes, &names));

  // The PE headers must lie inside the file, wherever e_lfanew points.
  for (std::uint32_t lfanew : {0xFFFFFFF0u, 0x7FFFFFFFu, static_cast<std::uint32_t>(good.bytes.size())}) {
    PeTestImage far = good;
    far.Put32(60, lfanew);
    EXPECT_FALSE(Read(far.bytes, &names)) << lfanew;
  }
  // Truncated inside the file header, and inside the optional header.
  for (std::size_t cut : {good.pe + 10, good.optional + 100}) {
    std::vector<std::uint8_t> truncated(good.bytes.begin(), good.bytes.begin() + cut);
    EXPECT_FALSE(Read(truncated, &names)) << cut;
  }
  // A stated optional header larger than the file.
  PeTestImage huge_optional = good;
  huge_optional.Put16(good.pe + 20, 0xFFFF);
  EXPECT_FALSE(Read(huge_optional.bytes, &names));
  EXPECT_TRUE(names.empty());
}

TEST(PeImports, DescriptorsRunningOffTheFileEndTheList) {
  // Names in the header area, after the section table, so that cutting the descriptors
  // leaves the first name readable.
  PeTestImage image = BuildPeImage({"a.dll", "b.dll"});
  image.PutText(0x180, "first.dll");
  image.PutText(0x190, "second.dll");
  image.Put32(image.Descriptor(0) + 12, 0x180);
  image.Put32(image.Descriptor(1) + 12, 0x190);
  Names names;
  EXPECT_TRUE(Read(image.bytes, &names));
  EXPECT_EQ(names, (Names{"first.dll", "second.dll"}));
  image.bytes.resize(image.Descriptor(1) + 12);
  names.clear();
  EXPECT_TRUE(Read(image.bytes, &names));
  EXPECT_EQ(names, (Names{"first.dll"}));
}

TEST(PeImports, NameOutsideTheFileEndsTheList) {
  PeTestImage image = BuildPeImage({"a.dll", "b.dll", "c.dll"});
  image.Put32(image.Descriptor(1) + 12, 0xFFFFFF00u);  // no section holds it
  Names names;
  EXPECT_TRUE(Read(image.bytes, &names));
  EXPECT_EQ(names, (Names{"a.dll"}));

  // A name inside the section's RVAs whose text runs to the end of the file unterminated.
  PeTestImage open_end = BuildPeImage({"a.dll", "b.dll"});
  const std::size_t last = open_end.bytes.size() - 4;
  for (std::size_t i = last; i < open_end.bytes.size(); ++i) open_end.bytes[i] = 'x';
  open_end.Put32(open_end.Descriptor(1) + 12,
                 static_cast<std::uint32_t>(PeTestImage::kSectionRva + last - open_end.section_raw));
  names.clear();
  EXPECT_TRUE(Read(open_end.bytes, &names));
  EXPECT_EQ(names, (Names{"a.dll"}));
}

TEST(PeImports, SectionOutsideTheFileEndsTheList) {
  PeTestImage raw_outside = BuildPeImage({"a.dll"});
  raw_outside.Put32(raw_outside.section_table + 20, 0xFFFFF000u);  // PointerToRawData
  Names names;
  EXPECT_TRUE(Read(raw_outside.bytes, &names));
  EXPECT_TRUE(names.empty());

  // Section headers past the end of the file: the ones inside still count.
  PeTestImage many = BuildPeImage({"a.dll"});
  many.Put16(many.pe + 6, 0xFFFF);
  names.clear();
  EXPECT_TRUE(Read(many.bytes, &names));
  EXPECT_EQ(names, (Names{"a.dll"}));
}

TEST(PeImports, ImportTableInTheHeaderAreaIsReadAtItsRva) {
  PeTestImage image = BuildPeImage({"a.dll"});
  // Descriptors at 0x160 (the terminating one at 0x174), the name at 0x190.
  image.PutText(0x190, "head.dll");
  image.Put32(0x160 + 12, 0x190);
  image.Put32(image.ImportDirectory(), 0x160);
  Names names;
  EXPECT_TRUE(Read(image.bytes, &names));
  EXPECT_EQ(names, (Names{"head.dll"}));
}

TEST(PeImports, NameInAnotherSectionIsFoundThroughThatSection) {
  PeTestImage image = BuildPeImage({"a.dll", "b.dll"});
  // A second section, at RVA 0x5000 and file offset end-of-file, holding one name.
  const std::size_t raw = image.bytes.size();
  image.PutText(raw + 0x10, "far.dll");
  image.bytes.resize(raw + 0x200, 0);
  const std::size_t header = image.section_table + 40;
  image.Put16(image.pe + 6, 2);
  image.Put32(header + 12, 0x5000);
  image.Put32(header + 16, 0x200);
  image.Put32(header + 20, static_cast<std::uint32_t>(raw));
  image.Put32(image.Descriptor(1) + 12, 0x5010);
  Names names;
  EXPECT_TRUE(Read(image.bytes, &names));
  EXPECT_EQ(names, (Names{"a.dll", "far.dll"}));
}

TEST(PeImports, SectionsMappingTheTableToTheSameBytesWalkItOnce) {
  PeTestImage image = BuildPeImage({"a.dll", "b.dll"});
  // A second section header, the same as the first.
  const auto first = image.bytes.begin() + static_cast<std::ptrdiff_t>(image.section_table);
  std::copy(first, first + 40, first + 40);
  image.Put16(image.pe + 6, 2);
  Names names;
  EXPECT_TRUE(Read(image.bytes, &names));
  EXPECT_EQ(names, (Names{"a.dll", "b.dll"}));
}

// An image whose count descriptors all name the text at one place, after the descriptors.
PeTestImage SharedNameImage(std::size_t count, const std::string& text) {
  PeTestImage image = BuildPeImage({"a.dll"});
  const std::size_t name = image.Descriptor(count + 1);
  for (std::size_t i = 0; i < count; ++i)
    image.Put32(image.Descriptor(i) + 12, static_cast<std::uint32_t>(
                                              PeTestImage::kSectionRva + name - image.section_raw));
  image.Put32(image.Descriptor(count) + 12, 0);
  image.PutText(name, text);
  image.Put32(image.section_table + 16, static_cast<std::uint32_t>(image.bytes.size() - image.section_raw));
  return image;
}

std::size_t TotalLength(const Names& names) {
  std::size_t total = 0;
  for (const std::string& name : names) total += name.size() + 1;
  return total;
}

TEST(PeImports, NameLongerThanAPathEndsTheList) {
  Names names;
  EXPECT_TRUE(Read(BuildPeImage({"a.dll", std::string(259, 'n'), "c.dll"}).bytes, &names));
  EXPECT_EQ(names, (Names{"a.dll", std::string(259, 'n'), "c.dll"}));
  names.clear();
  EXPECT_TRUE(Read(BuildPeImage({"a.dll", std::string(260, 'n'), "c.dll"}).bytes, &names));
  EXPECT_EQ(names, (Names{"a.dll"}));
  names.clear();
  EXPECT_TRUE(Read(SharedNameImage(2000, std::string(4000, 'n')).bytes, &names));
  EXPECT_TRUE(names.empty());
}

TEST(PeImports, NamesNeverTakeMoreThanTheFile) {
  // Every descriptor naming the same bytes.
  const PeTestImage shared = SharedNameImage(5000, std::string(250, 's') + ".dll");
  Names names;
  EXPECT_TRUE(Read(shared.bytes, &names));
  ASSERT_EQ(names.size(), 1u);
  EXPECT_EQ(names[0], std::string(250, 's') + ".dll");

  // Each descriptor naming the text one byte further on: all different, none too long.
  PeTestImage sliding = SharedNameImage(259, std::string(259, 'x'));
  const auto text = static_cast<std::uint32_t>(PeTestImage::kSectionRva +
                                               sliding.Descriptor(260) - sliding.section_raw);
  for (std::uint32_t i = 0; i < 259; ++i) sliding.Put32(sliding.Descriptor(i) + 12, text + i);
  names.clear();
  EXPECT_TRUE(Read(sliding.bytes, &names));
  EXPECT_FALSE(names.empty());
  EXPECT_LE(TotalLength(names), sliding.bytes.size());
}

}  // namespace
}  // namespace corvane

namespace corvane {
namespace {

ImportTable ReadTable(const PeTestImage& image) {
  ImportTable table;
  EXPECT_TRUE(ReadImportTable(image.bytes.data(), image.bytes.size(), &table));
  return table;
}

TEST(PeDelayImports, AreReadApartFromTheOrdinaryOnesInBothLayoutsAndBothAddressForms) {
  for (bool pe32_plus : {false, true}) {
    PeLayout layout;
    layout.pe32_plus = pe32_plus;
    layout.delay_imports = {"later.dll", "sometime.dll"};
    const ImportTable table = ReadTable(BuildPeImage({"now.dll"}, layout));
    EXPECT_EQ(table.pe32_plus, pe32_plus);
    EXPECT_EQ(table.names, std::vector<std::string>{"now.dll"});
    EXPECT_EQ(table.delay_names, (std::vector<std::string>{"later.dll", "sometime.dll"}));
  }
  PeLayout old;
  old.delay_imports = {"old.dll"};
  old.delay_virtual_addresses = true;
  EXPECT_EQ(ReadTable(BuildPeImage({}, old)).delay_names, std::vector<std::string>{"old.dll"});
  // The ordinary list alone keeps its old meaning.
  std::vector<std::string> names;
  const PeTestImage image = BuildPeImage({"now.dll"}, old);
  ASSERT_TRUE(ReadImportNames(image.bytes.data(), image.bytes.size(), &names));
  EXPECT_EQ(names, std::vector<std::string>{"now.dll"});
}

TEST(PeDelayImports, ADescriptorOrNameOutsideTheFileEndsOnlyTheDelayList) {
  PeLayout layout;
  layout.delay_imports = {"first.dll", "second.dll"};
  PeTestImage image = BuildPeImage({"now.dll"}, layout);
  image.Put32(image.delay_table + 32 + 4, 0x7FFFFFF0);  // the second name's RVA
  ImportTable table = ReadTable(image);
  EXPECT_EQ(table.names, std::vector<std::string>{"now.dll"});
  EXPECT_EQ(table.delay_names, std::vector<std::string>{"first.dll"});

  // A virtual address below the image base points at nothing.
  image.Put32(image.delay_table, 0);
  image.Put32(image.delay_table + 4, 0x100);
  EXPECT_TRUE(ReadTable(image).delay_names.empty());

  // A table that runs to the end of the file without its terminator.
  image = BuildPeImage({}, layout);
  image.Put32(image.DelayDirectory(), static_cast<std::uint32_t>(
      PeTestImage::kSectionRva + image.bytes.size() - image.section_raw - 8));
  table = ReadTable(image);
  EXPECT_TRUE(table.delay_names.empty());
}

}  // namespace
}  // namespace corvane
