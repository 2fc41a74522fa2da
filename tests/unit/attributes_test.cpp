// Attribute texts and the rows of the Attributes pane.
#include <gtest/gtest.h>

#include "catalogue/attributes.h"
#include "catalogue/object_kinds.h"
#include "tests/unit/memory_platform.h"
#include "tests/unit/version_image_builder.h"

namespace corvane {
namespace {

struct Row {
  std::string label, value;
  int image;
  bool operator==(const Row& o) const {
    return label == o.label && value == o.value && image == o.image;
  }
};

std::ostream& operator<<(std::ostream& out, const Row& row) {
  return out << "{" << row.label << ", " << row.value << ", " << row.image << "}";
}

class RecordingRows : public AttributeRows {
 public:
  void AddAttributeRow(const std::string& label, const std::string& value, int image) override {
    rows.push_back({label, value, image});
  }
  std::vector<std::string> Labels() const {
    std::vector<std::string> labels;
    for (const auto& row : rows) labels.push_back(row.label);
    return labels;
  }
  std::vector<Row> rows;
};

using Labels = std::vector<std::string>;

const std::uint64_t k2024March5 = 133541212290000000ull;  // 2024-03-05 14:07:09 UTC
const std::uint64_t k1999Dec31 = 125911583990000000ull;   // 1999-12-31 23:59:59 UTC

class AttributesTest : public ::testing::Test {
 protected:
  AttributesTest() {
    env.files.SetContents(kServer, VersionImage({{0x0409, VersionBlock(0x04B00409, u"040904b0",
                                                                       {{u"CompanyName", u"Tessaline"},
                                                                        {u"FileVersion", u"2.0"}})}}));
    FoundFile* file = env.files.Entry(kServer);
    file->creation_time = k1999Dec31;
    file->last_write_time = k2024March5;
    file->last_access_time = k2024March5;
    env.AddClass("{D}", "InprocServer32", kServer);
    env.AddClass("{D}", "ProgID", "Tess.Server.1");
  }
  const std::string kServer = "C:\\Tess\\server.dll";
  MemoryPlatform env;
  RecordingRows rows;
};

TEST_F(AttributesTest, StatusTextsFollowTheExistsFlagAndThePath) {
  CDllServerObject present(env.platform, "{D}");
  EXPECT_EQ(present.GetAttribute(kAttrStatus), "File Exists");
  env.AddClass("{Bare}", "InprocServer32", "bare.dll");
  EXPECT_EQ(CDllServerObject(env.platform, "{Bare}").GetAttribute(kAttrStatus),
            "WARNING: Path Not defined (File should be in system path)");
  env.AddClass("{Gone}", "InprocServer32", "C:\\Gone\\gone.dll");
  CDllServerObject gone(env.platform, "{Gone}");
  EXPECT_EQ(gone.GetAttribute(kAttrStatus), "SEVERE WARNING: File does not exist");
  EXPECT_EQ(gone.GetAttribute(kAttrFileSize), "");
  EXPECT_EQ(gone.GetAttribute(kAttrCreated), "");
}

TEST_F(AttributesTest, SizeIsSigned32BitsAndDatesAreLocal) {
  CDllServerObject record(env.platform, "{D}");
  env.files.Entry(kServer)->size = 2147483648ull;
  EXPECT_EQ(record.GetAttribute(kAttrFileSize), "-2147483648 Bytes");
  env.files.Entry(kServer)->size = 0x100000003ull;
  EXPECT_EQ(record.GetAttribute(kAttrFileSize), "3 Bytes");
  EXPECT_EQ(record.GetAttribute(kAttrCreated), "12/31/99 23:59:59");
  EXPECT_EQ(record.GetAttribute(kAttrLastModified), "03/05/24 14:07:09");
  EXPECT_EQ(record.GetAttribute(kAttrAccessed), "03/05/24");
  env.files.SetUtcOffsetMinutes(60);
  EXPECT_EQ(record.GetAttribute(kAttrCreated), "01/01/00 00:59:59");
  EXPECT_EQ(record.GetAttribute(kAttrFileLocation), kServer);
}

TEST_F(AttributesTest, PathWithArgumentsHasNoSizeOrDates) {
  env.files.AddFile("C:\\App\\app.exe", 10);
  env.AddClass("{E}", "LocalServer32", "C:\\App\\app.exe /automation");
  CExeServerObject record(env.platform, "{E}");
  EXPECT_EQ(record.GetAttribute(kAttrStatus), "File Exists");
  EXPECT_EQ(record.GetAttribute(kAttrFileSize), "");
  EXPECT_EQ(record.GetAttribute(kAttrLastModified), "");
}

TEST_F(AttributesTest, IndexesOutsideTheTableAndClassValues) {
  CDllServerObject record(env.platform, "{D}");
  EXPECT_EQ(record.GetAttribute(20), "");
  EXPECT_EQ(record.GetAttribute(-1), "");
  EXPECT_EQ(record.GetAttribute(kAttrTypeLibStatus), "Not Defined");
  EXPECT_EQ(record.GetAttribute(kAttrClsid), "{D}");
  EXPECT_EQ(record.GetAttribute(kAttrProgId), "Tess.Server.1");
  EXPECT_EQ(record.GetAttribute(kAttrTypeLibName), "Not Defined");
  EXPECT_EQ(record.GetAttribute(kAttrVersion), "");
  EXPECT_STREQ(AttributeLabel(20), "");
  EXPECT_STREQ(AttributeColumnName(kAttrTypeLibStatus), "TypeLibStatus");
  EXPECT_STREQ(AttributeColumnName(kAttrTypeLibName), "TypeLib Name");
  EXPECT_STREQ(AttributeLabel(kAttrLegalCopyright), "Legal Copyright");
}

TEST_F(AttributesTest, VersionStringsNeedTheBlockLoadedOnce) {
  CDllServerObject record(env.platform, "{D}");
  EXPECT_EQ(record.GetAttribute(kAttrCompanyName), "");
  ASSERT_EQ(record.LoadVersionInfo(), 1);
  EXPECT_EQ(record.GetAttribute(kAttrCompanyName), "Tessaline");
  EXPECT_EQ(record.GetAttribute(kAttrFileVersion), "2.0");
  EXPECT_EQ(record.GetAttribute(kAttrProductName), "");
  // Kept for the record's life: later changes of the file are not seen.
  env.files.SetContents(kServer, {1, 2, 3});
  EXPECT_EQ(record.LoadVersionInfo(), 1);
  EXPECT_EQ(record.GetAttribute(kAttrCompanyName), "Tessaline");
  CDllServerObject fresh(env.platform, "{D}");
  EXPECT_EQ(fresh.LoadVersionInfo(), 0);
}

TEST_F(AttributesTest, BlockWithoutTranslationLoadsNothing) {
  const ByteString no_translation =
      VersionNode(u"VS_VERSION_INFO", false, ByteString(52, 0), {VersionNode(u"StringFileInfo", true, {})});
  env.files.SetContents(kServer, VersionImage({{0x0409, no_translation}}));
  CDllServerObject record(env.platform, "{D}");
  EXPECT_EQ(record.LoadVersionInfo(), 0);
}

TEST_F(AttributesTest, RowsOfAPresentDllServer) {
  CDllServerObject record(env.platform, "{D}");
  record.FillAttributes(rows);
  EXPECT_EQ(rows.Labels(),
            (Labels{"ProgID", "Version", "CLSID", "TypeLib Name", "TypeLib", "TypeLib Status",
                    "File Location", "Status", "File Size", "Created", "Last Modified", "Accessed",
                    "File Description", "Company Name", "File Version", "Internal Name",
                    "Legal Copyright", "Original Filename", "Product Name", "Product Version"}));
  EXPECT_EQ(rows.rows[0], (Row{"ProgID", "Tess.Server.1", 0}));
  EXPECT_EQ(rows.rows[5], (Row{"TypeLib Status", "Not Defined", 0}));
  EXPECT_EQ(rows.rows[6], (Row{"File Location", kServer, 1}));
  EXPECT_EQ(rows.rows[8].image, 1);
  EXPECT_EQ(rows.rows[13], (Row{"Company Name", "Tessaline", 2}));
}

TEST_F(AttributesTest, RowsOfMissingAndBareServersAndOfTheKinds) {
  env.AddClass("{Gone}", "InprocServer32", "C:\\Gone\\gone.dll");
  env.AddClass("{Gone}", "Control", "");
  env.AddClass("{Gone}", "ToolboxBitmap32", "C:\\Gone\\gone.dll, 1");
  CControlObject gone(env.platform, "{Gone}");
  gone.FillAttributes(rows);
  EXPECT_EQ(rows.Labels(), (Labels{"ProgID", "Version", "CLSID", "TypeLib Name", "TypeLib",
                                   "TypeLib Status", "File Location", "Status", "Toolbox Bitmap"}));
  EXPECT_EQ(rows.rows[7].image, 3);
  EXPECT_EQ(rows.rows[8], (Row{"Toolbox Bitmap", "C:\\Gone\\gone.dll, 1", 1}));

  // A bare name: no size and date rows, but the version rows when the name can be read.
  env.files.SetContents("server.dll", VersionImage({{0, VersionBlock(0x04B00409, u"040904b0", {})}}));
  env.AddClass("{Bare}", "LocalServer32", "server.dll");
  env.registry.SetString(kClassesRoot, "CLSID\\{Bare}", "AppID", "{APP}");
  env.AddClass("{Bare}", "DefaultIcon", "server.dll,0");
  RecordingRows bare_rows;
  CExeServerObject bare(env.platform, "{Bare}");
  bare.FillAttributes(bare_rows);
  EXPECT_EQ(bare_rows.rows.size(), 8u + 8u + 2u);
  EXPECT_EQ(bare_rows.rows[7].image, 3);
  EXPECT_EQ(bare_rows.rows[8].label, "File Description");
  EXPECT_EQ(bare_rows.rows[16], (Row{"AppID", "{APP}", 0}));
  EXPECT_EQ(bare_rows.rows[17], (Row{"Default Icon", "server.dll,0", 1}));
}

TEST_F(AttributesTest, RowsOfADependencyEntry) {
  CFileObject found(env.platform);
  found.SetServer("SERVER.DLL", kServer);
  found.FillAttributes(rows);
  ASSERT_EQ(rows.rows.size(), 6u + 8u);
  EXPECT_EQ(rows.rows[1], (Row{"Status", "File Exists", 2}));
  EXPECT_EQ(rows.rows[6], (Row{"File Description", "", 3}));

  RecordingRows missing_rows;
  CFileObject missing(env.platform);
  missing.SetServer("NONE.DLL", "");
  missing.FillAttributes(missing_rows);
  EXPECT_EQ(missing_rows.rows,
            (std::vector<Row>{{"File Location", "", 1},
                              {"Status", "SEVERE WARNING: File does not exist", 1}}));
}

}  // namespace
}  // namespace corvane
