// Reading version resources from file bytes, and the look-ups in a version block.
#include <gtest/gtest.h>

#include "catalogue/version_resource.h"
#include "tests/unit/version_image_builder.h"

namespace corvane {
namespace {

const ByteString kEnglish = VersionBlock(0x04B00409, u"040904B0",
                                         {{u"CompanyName", u"Tessaline"},
                                          {u"FileVersion", u"2.0.1.7"},
                                          {u"LegalCopyright", u"\u00A9 Tessaline\u2122 \u4E2D"},
                                          {u"Comments", u""}});

std::string Query(const ByteString& block, const std::string& path) {
  std::string text = "unset";
  return QueryVersionString(block, path, &text) ? text : "(none)";
}

TEST(VersionResource, ExtractsAndAnswersLikeTheVersionApi) {
  for (bool pe32_plus : {false, true}) {
    const ByteString image = VersionImage({{0x0409, kEnglish}}, pe32_plus);
    ByteString block;
    ASSERT_TRUE(ExtractVersionResource(image.data(), image.size(), &block)) << pe32_plus;
    EXPECT_EQ(block, kEnglish);
  }
  std::uint32_t translation = 0;
  ASSERT_TRUE(QueryVersionTranslation(kEnglish, &translation));
  EXPECT_EQ(translation, 0x04B00409u);
  EXPECT_EQ(Query(kEnglish, "\\StringFileInfo\\040904b0\\CompanyName"), "Tessaline");
  EXPECT_EQ(Query(kEnglish, "\\stringfileinfo\\040904B0\\fileversion"), "2.0.1.7");
  EXPECT_EQ(Query(kEnglish, "\\StringFileInfo\\040904b0\\Comments"), "");
  EXPECT_EQ(Query(kEnglish, "\\StringFileInfo\\040904b0\\ProductName"), "(none)");
  EXPECT_EQ(Query(kEnglish, "\\StringFileInfo\\040704b0\\CompanyName"), "(none)");
  // Windows-1252 where it has the character, "?" where it has not.
  EXPECT_EQ(Query(kEnglish, "\\StringFileInfo\\040904b0\\LegalCopyright"),
            "\xA9 Tessaline\x99 ?");
}

TEST(VersionResource, PrefersTheLanguageTheLoaderTakes) {
  const ByteString arabic = VersionBlock(0x04B00401, u"040104B0", {{u"CompanyName", u"Arabic"}});
  const ByteString image = VersionImage({{0x0401, arabic}, {0x0409, kEnglish}});
  ByteString block;
  ASSERT_TRUE(ExtractVersionResource(image.data(), image.size(), &block));
  EXPECT_EQ(block, kEnglish);
  const ByteString only_arabic = VersionImage({{0x0401, arabic}});
  ASSERT_TRUE(ExtractVersionResource(only_arabic.data(), only_arabic.size(), &block));
  EXPECT_EQ(block, arabic);
}

TEST(VersionResource, MalformedFilesGiveNoBlockAndStayInside) {
  ByteString block;
  const ByteString image = VersionImage({{0x0409, kEnglish}});
  // Every truncation of the file: none reads past its end (the sanitizer build checks).
  for (std::size_t size = 0; size < image.size(); ++size) {
    ByteString cut(image.begin(), image.begin() + static_cast<std::ptrdiff_t>(size));
    EXPECT_FALSE(ExtractVersionResource(cut.data(), cut.size(), &block)) << size;
  }
  ByteString no_mz = image;
  no_mz[0] = 'X';
  EXPECT_FALSE(ExtractVersionResource(no_mz.data(), no_mz.size(), &block));
  ByteString far_resources = image;
  Put32(far_resources, 88 + 96 + 16, 0x7FFFFFF0);
  EXPECT_FALSE(ExtractVersionResource(far_resources.data(), far_resources.size(), &block));
  ByteString far_pe = image;
  Put32(far_pe, 60, 0xFFFFFFF0);
  EXPECT_FALSE(ExtractVersionResource(far_pe.data(), far_pe.size(), &block));
}

TEST(VersionResource, MalformedBlocksAreReadOnlyInside) {
  std::uint32_t translation = 0;
  std::string text;
  // Every truncation and every corrupted length word of a good block.
  for (std::size_t size = 0; size < kEnglish.size(); ++size) {
    ByteString cut(kEnglish.begin(), kEnglish.begin() + static_cast<std::ptrdiff_t>(size));
    QueryVersionTranslation(cut, &translation);
    QueryVersionString(cut, "\\StringFileInfo\\040904b0\\LegalCopyright", &text);
  }
  for (std::size_t at = 0; at + 1 < kEnglish.size(); at += 2) {
    for (std::uint32_t bad : {0u, 1u, 0xFFFFu}) {
      ByteString broken = kEnglish;
      Put16(broken, at, bad);
      QueryVersionTranslation(broken, &translation);
      QueryVersionString(broken, "\\StringFileInfo\\040904b0\\LegalCopyright", &text);
    }
  }
  EXPECT_FALSE(QueryVersionTranslation(ByteString{}, &translation));
}

TEST(VersionResource, SixteenBitBlocksHaveAnsiKeysAndTexts) {
  // wLength, wValueLength, key, value, children; no type word, 8-bit text.
  auto node = [](const std::string& key, const std::string& value,
                 const std::vector<ByteString>& children = {}) {
    ByteString b(4, 0);
    b.insert(b.end(), key.begin(), key.end());
    b.push_back(0);
    Pad4(b);
    b.insert(b.end(), value.begin(), value.end());
    if (!value.empty()) b.push_back(0);
    for (const auto& child : children) {
      Pad4(b);
      b.insert(b.end(), child.begin(), child.end());
    }
    Put16(b, 0, static_cast<std::uint32_t>(b.size()));
    Put16(b, 2, static_cast<std::uint32_t>(value.empty() ? 0 : value.size() + 1));
    return b;
  };
  const ByteString block = node("VS_VERSION_INFO", "",
                                {node("StringFileInfo", "", {node("040904E4", "", {node("CompanyName", "Old Soft")})})});
  EXPECT_EQ(Query(block, "\\StringFileInfo\\040904e4\\CompanyName"), "Old Soft");
}

}  // namespace
}  // namespace corvane
