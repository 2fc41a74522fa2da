// The inventory report's writers, byte for byte.
#include "tools/inventory_report.h"

#include <gtest/gtest.h>

#include "catalogue/attributes.h"
#include "catalogue/object_kinds.h"
#include "tests/unit/memory_platform.h"
#include "tests/unit/pe_test_image.h"

namespace corvane {
namespace {

const char kSystem[] = "C:\\Windows\\System32";

class InventoryReportTest : public ::testing::Test {
 protected:
  InventoryReportTest() {
    env.files.SetSearchFolders({kSystem});
    env.files.SetContents("C:\\Tess\\server.dll", BuildPeImage({"base.dll", "gone.dll"}).bytes);
    env.files.SetContents(std::string(kSystem) + "\\base.dll", BuildPeImage({}).bytes);
    env.files.SetContents("C:\\Tess\\lone.dll", BuildPeImage({}).bytes);
    env.AddClass("{W}", "InprocServer32", "C:\\Tess\\server.dll");
    env.AddClass("{W}", "ProgID", "<b>Tess&Co \"1\", 2");
    env.AddClass("{L}", "InprocServer32", "C:\\Tess\\lone.dll");
    env.AddClass("{L}", "ProgID", "Tess.Lone");
    env.AddClass("{M}", "InprocServer32", "C:\\Gone\\gone.dll");
    env.AddClass("{M}", "ProgID", "Tess.Gone");
    for (const char* clsid : {"{W}", "{L}", "{M}"})
      owned.push_back(std::make_unique<CDllServerObject>(env.platform, clsid));
    for (auto& record : owned) records.push_back(record.get());
    choices.attributes = {kAttrProgId, kAttrFileLocation, kAttrFileDescription};
  }

  std::string Write() {
    return WriteInventoryReport(env.platform, records, choices, info);
  }
  std::string Head() const { return MakeReportPage(ReportKind::kInventory, info).head; }
  std::string Foot(int count) const {
    return "DLL Servers Count: <strong>" + std::to_string(count) + "</strong><BR>\n" +
           MakeReportPage(ReportKind::kInventory, info).foot;
  }

  MemoryPlatform env;
  std::vector<std::unique_ptr<CRegisteredObject>> owned;
  std::vector<CRegisteredObject*> records;
  InventoryChoices choices;
  ReportPageInfo info{"DLL Servers", "BENCH", "Monday, December 07, 2026", "C:\\Corvane",
                      kMakerSite, ""};
};

std::string Row(const std::string& label, const std::string& value) {
  return "<tr><td width=\"19%\" bgcolor=\"#FFFFFF\" height=18><font size=2 face=\"Verdana\"><b>" +
         label + ": </b></font></td><td width=\"81%\" bgcolor=\"#FFFFFF\" height=18>"
         "<font size=2 face=\"Verdana\">" + value + "</font></td></tr>";
}

std::string Title(const std::string& name) {
  return "<table border=1 width=\"72%\" cellspacing=0 cellpadding=3 height=29><tr><td "
         "width=\"100%\" colspan=2 bgcolor=\"#F8BE10\" height=1><font face=\"Verdana\" "
         "color=\"#FFFFFF\" size=2><b>" + name + "</b></font></td></tr>";
}

TEST_F(InventoryReportTest, NoRecordKindChosenLeavesTheFrameOnly) {
  choices.well_behaved = choices.misbehaved = false;
  EXPECT_EQ(Write(), Head() + Foot(0));
  choices.format = kReportPlainHtml;
  EXPECT_EQ(Write(), Head() + Foot(0));
  choices.format = kReportText;
  EXPECT_EQ(Write(),
            "; The file contains a list of DLL Servers on the following machine: BENCH\n"
            "; File was genearted on: Monday, December 07, 2026\n\n"
            "; Attribute Names\n"
            "\"ProgID\",\"File Location\",\"File Description\"\n\n");
}

TEST_F(InventoryReportTest, FormattedHtmlEscapesValuesAndListsDependencies) {
  choices.dependencies = true;
  const std::string system_base = std::string(kSystem) + "\\base.dll";
  EXPECT_EQ(Write(),
            Head() +
            Title("&lt;b&gt;Tess&amp;Co &quot;1&quot;, 2") +
            Row("ProgID", "&lt;b&gt;Tess&amp;Co &quot;1&quot;, 2") +
            Row("File Location", "C:\\Tess\\server.dll") + Row("File Description", "&nbsp") +
            Row("Dependencies", "&nbsp") + Row("base.dll", system_base + " (found by search path)") +
            Row("gone.dll", "Not Found!") + "</table>\n<BR>\n" +
            Title("Tess.Lone") + Row("ProgID", "Tess.Lone") +
            Row("File Location", "C:\\Tess\\lone.dll") + Row("File Description", "&nbsp") +
            Row("Dependencies", "&nbsp") + "</table>\n<BR>\n" +
            Title("Tess.Gone") + Row("ProgID", "Tess.Gone") +
            Row("File Location", "C:\\Gone\\gone.dll") + Row("File Description", "&nbsp") +
            "</table>\n<BR>\n" + Foot(3));
}

TEST_F(InventoryReportTest, PlainHtmlWritesOnlyTheChosenKindAndStillTitlesNothing) {
  choices.dependencies = true;
  choices.misbehaved = false;
  choices.format = kReportPlainHtml;
  choices.attributes = {kAttrFileLocation, kAttrProgId};
  std::vector<std::size_t> progress;
  const std::string text = WriteInventoryReport(env.platform, records, choices, info,
                                                [&](std::size_t i) { progress.push_back(i); });
  EXPECT_EQ(text,
            Head() +
            "File Location: C:\\Tess\\server.dll<BR>\n"
            "ProgID: &lt;b&gt;Tess&amp;Co &quot;1&quot;, 2<BR>\n"
            "<strong>Dependencies: </strong><BR>\n"
            "base.dll Located at: " + std::string(kSystem) + "\\base.dll (found by search path)<BR>\n"
            "gone.dll was not found.<BR>\n"
            "\n<HR><BR>\n"
            "File Location: C:\\Tess\\lone.dll<BR>\n"
            "ProgID: Tess.Lone<BR>\n"
            "<strong>Dependencies: </strong><BR>\n"
            "\n<HR><BR>\n" + Foot(2));
  EXPECT_EQ(progress, (std::vector<std::size_t>{0, 1, 2}));
}

TEST_F(InventoryReportTest, TextQuotesFieldsAndDoublesQuotesButNeverListsDependencies) {
  choices.dependencies = true;
  choices.format = kReportText;
  choices.attributes = {kAttrProgId, kAttrStatus};
  const std::string text = Write();
  EXPECT_EQ(text.substr(text.find("\"ProgID\"")),
            "\"ProgID\",\"Status\"\n\n"
            "\"<b>Tess&Co \"\"1\"\", 2\",\"File Exists\"\n"
            "\"Tess.Lone\",\"File Exists\"\n"
            "\"Tess.Gone\",\"SEVERE WARNING: File does not exist\"\n");
  EXPECT_EQ(ToCrLf("a\nb\n"), "a\r\nb\r\n");
}

TEST_F(InventoryReportTest, TextCellsNeverBecomeFormulasAndKeepTheirLineEnds) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"=HYPERLINK(\"http://127.0.0.1:9/x\",\"click\")",
       "\"'=HYPERLINK(\"\"http://127.0.0.1:9/x\"\",\"\"click\"\")\""},
      {"+cmd|' /C calc'!A0", "\"'+cmd|' /C calc'!A0\""},
      {"-2+3", "\"'-2+3\""},
      {"@SUM(A1)", "\"'@SUM(A1)\""},
      {"\tTab", "\"'\tTab\""},
      {"\rReturn", "\"'\rReturn\""},
      {"Line one\r\nLine two", "\"Line one\r\nLine two\""},
      {"a=b+c", "\"a=b+c\""}};
  owned.clear();
  records.clear();
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const std::string clsid = "{F" + std::to_string(i) + "}";
    env.AddClass(clsid, "InprocServer32", "C:\\Tess\\lone.dll");
    env.AddClass(clsid, "ProgID", cases[i].first);
    owned.push_back(std::make_unique<CDllServerObject>(env.platform, clsid.c_str()));
    records.push_back(owned.back().get());
  }
  choices.format = kReportText;
  choices.attributes = {kAttrProgId};
  const std::string bytes = ToCrLf(Write());
  std::string expected = "\"ProgID\"\r\n\r\n";
  for (const auto& item : cases) expected += item.second + "\r\n";
  EXPECT_EQ(bytes.substr(bytes.find("\"ProgID\"")), expected);
}

}  // namespace
}  // namespace corvane

namespace corvane {
namespace {

TEST(AttributeRemovalTest, TheLastEntryStaysAndTheLowestDeletedPlaceIsSelected) {
  AttributeRemoval all = PlanAttributeRemoval(19, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13,
                                                    14, 15, 16, 17, 18});
  EXPECT_EQ(all.deleted.size(), 18u);
  EXPECT_EQ(all.deleted.front(), 18);
  EXPECT_EQ(all.deleted.back(), 1);
  EXPECT_TRUE(all.last_one_left);
  EXPECT_EQ(all.select, 0);  // index 1 is past the end of the one entry left

  AttributeRemoval middle = PlanAttributeRemoval(5, {3, 1});
  EXPECT_EQ(middle.deleted, (std::vector<int>{3, 1}));
  EXPECT_FALSE(middle.last_one_left);
  EXPECT_EQ(middle.select, 1);

  AttributeRemoval tail = PlanAttributeRemoval(3, {2});
  EXPECT_EQ(tail.select, 1);
  AttributeRemoval none = PlanAttributeRemoval(3, {});
  EXPECT_TRUE(none.deleted.empty());
  EXPECT_EQ(none.select, -1);
  AttributeRemoval only = PlanAttributeRemoval(1, {0});
  EXPECT_TRUE(only.deleted.empty());
  EXPECT_TRUE(only.last_one_left);
  EXPECT_EQ(only.select, -1);
}

}  // namespace
}  // namespace corvane
