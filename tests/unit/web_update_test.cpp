// Version numbers, the line reader, the update information file and how much of it is read,
// the installer's name, the progress text, and the news marker rule.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "update/line_reader.h"
#include "update/news_markers.h"
#include "update/update_info.h"
#include "update/version_number.h"
#include "platform/memory/memory_registry.h"

namespace corvane {
namespace {

TEST(VersionNumber, ComparesPartByPartWithTheCodeOfTheFirstDifference) {
  EXPECT_EQ(CVersionNumber("2.0.1").Compare(CVersionNumber("2.0.0.3")), kVersionThirdNewer);
  EXPECT_EQ(CVersionNumber("2.0.0.3").Compare(CVersionNumber("2.0.0.3")), kVersionEqual);
  EXPECT_EQ(CVersionNumber("1.9").Compare(CVersionNumber("2.0")), kVersionOlder);
  EXPECT_EQ(CVersionNumber("3.0").Compare(CVersionNumber("2.9.9.9")), kVersionMajorNewer);
  EXPECT_EQ(CVersionNumber("2.1").Compare(CVersionNumber("2.0.9.9")), kVersionMinorNewer);
  EXPECT_EQ(CVersionNumber("2.0.0.4").Compare(CVersionNumber("2.0.0.3")), kVersionFourthNewer);
  // Older in a later part after an equal start is still older.
  EXPECT_EQ(CVersionNumber("2.0.0.2").Compare(CVersionNumber("2.0.0.3")), kVersionOlder);
  EXPECT_EQ(CVersionNumber("2.0.5").Compare(CVersionNumber("2.1")), kVersionOlder);
}

TEST(VersionNumber, ReadsTextLikeStrtokAndAtoi) {
  CVersionNumber skipped("2..1");
  EXPECT_EQ(skipped.ToString(), "2.1.0.0");
  EXPECT_TRUE(skipped.is_set());
  EXPECT_EQ(CVersionNumber("1.2.3.4.5").ToString(), "1.2.3.4");
  EXPECT_EQ(CVersionNumber(" 2.1 beta.7x").ToString(), "2.1.7.0");
  EXPECT_EQ(CVersionNumber("x.3").ToString(), "0.3.0.0");
  EXPECT_EQ(CVersionNumber(".").ToString(), "0.0.0.0");
  EXPECT_FALSE(CVersionNumber("").is_set());
  EXPECT_FALSE(CVersionNumber().is_set());
}

TEST(VersionNumber, PartsStopAtTheirBoundsInsteadOfWrapping) {
  // 65536 would wrap to 0 and 70000 to 4464, both older than the real 65535.
  EXPECT_EQ(CVersionNumber("65535.65536.70000.99999999999999999999").ToString(),
            "65535.65535.65535.65535");
  EXPECT_EQ(CVersionNumber("70000").Compare(CVersionNumber("65534.9")), kVersionMajorNewer);
  EXPECT_EQ(CVersionNumber("-1.2").ToString(), "0.2.0.0");
}

TEST(VersionNumber, FixedVersionHalvesGiveTheFourParts) {
  CVersionNumber fixed = CVersionNumber::FromFixed(0x00020001, 0x00030004);
  EXPECT_EQ(fixed.ToString(), "2.1.3.4");
  CVersionNumber high = CVersionNumber::FromFixed(0xFFFF0000, 0x0000FFFF);
  EXPECT_EQ(high.ToString(), "65535.0.0.65535");
  CVersionNumber parts;
  parts.set_third(7);
  EXPECT_TRUE(parts.is_set());
  EXPECT_EQ(parts.ToString(), "0.0.7.0");
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  CLineReader reader(text);
  while (reader.NextLine()) lines.push_back(reader.line());
  return lines;
}

TEST(LineReader, SplitsAtLineFeedsAndDropsLineEnds) {
  using Out = std::vector<std::string>;
  EXPECT_EQ(Lines("a\r\nb\nc\r\r\n\r\n"), (Out{"a", "b", "c"}));
  EXPECT_EQ(Lines("a\n\nb"), (Out{"a", "", "b"}));
  // A lone carriage return does not end a line.
  EXPECT_EQ(Lines("a\rb\n"), (Out{"a\rb"}));
  EXPECT_EQ(Lines("\r\n\n"), Out{});
  EXPECT_EQ(Lines(""), Out{});
  EXPECT_EQ(Lines("\nx"), (Out{"", "x"}));
}

const char kFullInfo[] =
    "LATEST VERSION: 2.1.0\r\n"
    "VERSION TO DISPLAY: 2.1\r\n"
    "FILE URL: http://127.0.0.1:8080/files/corvane21.exe\r\n"
    "FILE SIZE: 1.2 MB\r\n"
    "RELEASE DATE: 1 March 2027\r\n"
    "NEWS DATE: 2 March 2027\r\n"
    "NEW CHANGES TEXT: New in this update:\\n\r\n"
    "OLD CHANGES TEXT: Already installed:\\n\r\n"
    "DESCRIPTION URL: http://127.0.0.1:8080/news.rtf\r\n";

TEST(UpdateInfo, ReadsTheNineKeys) {
  UpdateInfo info = ParseUpdateInfo(kFullInfo);
  EXPECT_TRUE(info.Complete());
  EXPECT_EQ(info[kLatestVersion], "2.1.0");
  // Only the first colon separates: the URL keeps its own.
  EXPECT_EQ(info[kFileUrl], "http://127.0.0.1:8080/files/corvane21.exe");
  EXPECT_EQ(info[kNewChangesText], "New in this update:\\n");
  EXPECT_EQ(info[kDescriptionUrl], "http://127.0.0.1:8080/news.rtf");
}

TEST(UpdateInfo, KeysAreCaseBlindAndTrimmedValuesKeepTheirCase) {
  UpdateInfo info = ParseUpdateInfo(
      "  latest version : 2.1.0 \n"
      "\tRelease Date:\tMarch 2027  \n"
      "no colon here\n"
      "UNKNOWN: x\n"
      "file size: 1 MB\n"
      "FILE SIZE: 2 MB\n");
  EXPECT_EQ(info[kLatestVersion], "2.1.0");
  EXPECT_EQ(info[kReleaseDate], "March 2027");
  EXPECT_EQ(info[kFileSize], "2 MB");
  EXPECT_FALSE(info.Complete());
}

TEST(UpdateInfo, AMissingOrEmptyKeyLeavesItIncomplete) {
  std::string text = kFullInfo;
  std::string without = text.substr(0, text.find("DESCRIPTION URL"));
  EXPECT_FALSE(ParseUpdateInfo(without).Complete());
  EXPECT_FALSE(ParseUpdateInfo(without + "DESCRIPTION URL:   \r\n").Complete());
  EXPECT_TRUE(ParseUpdateInfo(without + "description url:x").Complete());
}

// Delivers the text in reads of at most `chunk` bytes; fails the read at `fail_at` reads.
ChunkReader Source(const std::string& text, std::size_t chunk, int fail_at = -1) {
  auto at = std::make_shared<std::size_t>(0);
  auto reads = std::make_shared<int>(0);
  return [text, chunk, fail_at, at, reads](char* buffer, std::uint32_t size, std::uint32_t* got) {
    if ((*reads)++ == fail_at) return false;
    std::size_t n = std::min<std::size_t>({chunk, size, text.size() - *at});
    text.copy(buffer, n, *at);
    *at += n;
    *got = static_cast<std::uint32_t>(n);
    return true;
  };
}

TEST(UpdateInfo, ShortReadsAreJoinedAndTheFileIsCutAt4095Bytes) {
  std::string text;
  ASSERT_TRUE(ReadUpTo(Source(kFullInfo, 7), kUpdateInfoLimit, &text));
  EXPECT_EQ(text, kFullInfo);
  EXPECT_TRUE(ParseUpdateInfo(text).Complete());

  // Padding pushes the last key past the cut.
  std::string padded = "NOTE: " + std::string(4000, 'x') + "\r\n" + kFullInfo;
  ASSERT_TRUE(ReadUpTo(Source(padded, 1000), kUpdateInfoLimit, &text));
  EXPECT_EQ(text.size(), kUpdateInfoLimit);
  EXPECT_EQ(text, padded.substr(0, kUpdateInfoLimit));
  UpdateInfo cut = ParseUpdateInfo(text);
  EXPECT_FALSE(cut.Complete());
  EXPECT_EQ(cut[kDescriptionUrl], "");

  EXPECT_FALSE(ReadUpTo(Source(kFullInfo, 7, 2), kUpdateInfoLimit, &text));
}

TEST(UpdateFile, NameIsTheLastComponentWithoutQueryOrFragment) {
  EXPECT_EQ(UpdateFileName("http://h/files/setup21.exe"), "setup21.exe");
  EXPECT_EQ(UpdateFileName("http://h/files/setup21.exe?from=app#top"), "setup21.exe");
  EXPECT_EQ(UpdateFileName("http://h/a\\b\\setup.exe"), "setup.exe");
  EXPECT_EQ(UpdateFileName("setup.exe"), "setup.exe");
  // What would land outside the desktop, or nowhere.
  EXPECT_EQ(UpdateFileName("http://h/files/"), "");
  EXPECT_EQ(UpdateFileName("http://h/files/.."), "");
  EXPECT_EQ(UpdateFileName("http://h/?name=../../x.exe"), "");
  EXPECT_EQ(UpdateFileName("http://h/C:x.exe"), "");
  EXPECT_EQ(UpdateFileName("http://h/a*b.exe"), "");
  EXPECT_EQ(UpdateFileName("http://h/setup.exe."), "");
  EXPECT_EQ(UpdateFileName("http://h/con.exe"), "");
  EXPECT_EQ(UpdateFileName("http://h/LPT1"), "");
  EXPECT_EQ(UpdateFileName("http://h/console.exe"), "console.exe");
}

TEST(UpdateFile, TakenNamesAreFollowedByNumberedOnes) {
  EXPECT_EQ(NumberedFileName("setup21.exe", 1), "setup21.exe");
  EXPECT_EQ(NumberedFileName("setup21.exe", 2), "setup21 (2).exe");
  EXPECT_EQ(NumberedFileName("setup.2.1.exe", 12), "setup.2.1 (12).exe");
  EXPECT_EQ(NumberedFileName("setup", 3), "setup (3)");
  EXPECT_EQ(NumberedFileName(".profile", 2), ".profile (2)");
}

TEST(UpdateFile, ProgressInPercentOrKilobytesWhenTheTotalIsUnknown) {
  const std::string pattern = "Downloading the update to your Windows Desktop ... %d%%";
  DownloadProgress half = DescribeProgress(512, 1024, pattern);
  EXPECT_EQ(half.percent, 50);
  EXPECT_EQ(half.text, "Downloading the update to your Windows Desktop ... 50%");
  EXPECT_EQ(DescribeProgress(1023, 1024, pattern).percent, 99);
  // Large files do not overflow the multiplication; more than announced stops at 100.
  EXPECT_EQ(DescribeProgress(0xF0000000u, 0xFFFFFFFFu, pattern).percent, 93);
  EXPECT_EQ(DescribeProgress(2048, 1024, pattern).percent, 100);
  DownloadProgress unknown = DescribeProgress(5 * 1024 + 10, 0, pattern);
  EXPECT_EQ(unknown.percent, 0);
  EXPECT_EQ(unknown.text, "Downloading the update to your Windows Desktop ... 5 KB");
}

TEST(UpdateFile, UrlComesFromTheSettingsOrTheMakersSite) {
  MemoryRegistry registry;
  EXPECT_EQ(ReadUpdateUrl(registry), kDefaultUpdateUrl);
  const std::string section = "Software\\Tessaline\\Corvane\\WebUpdate";
  registry.SetString(kCurrentUser, section, "URL", "");
  EXPECT_EQ(ReadUpdateUrl(registry), kDefaultUpdateUrl);
  registry.SetString(kCurrentUser, section, "URL", "http://127.0.0.1:1/ver.txt");
  EXPECT_EQ(ReadUpdateUrl(registry), "http://127.0.0.1:1/ver.txt");
  registry.SetBytes(kCurrentUser, section, "URL", kRegDword, {1, 0, 0, 0});
  EXPECT_EQ(ReadUpdateUrl(registry), kDefaultUpdateUrl);
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST(NewsMarkers, NewestAndInstalledMarkersBecomeHeadingsTheRestGo) {
  NewsMarkerRule rule(CVersionNumber("2.0"));
  EXPECT_EQ(rule.Next(" 2.2"), MarkerAction::kNewChangesHeading);
  EXPECT_EQ(rule.Next(" 2.1\r"), MarkerAction::kRemove);
  EXPECT_EQ(rule.Next(" 2.0"), MarkerAction::kOldChangesHeading);
  EXPECT_EQ(rule.Next(" 1.9"), MarkerAction::kRemove);
  // Text that is no number reads as 0.0.0.0: older, and the old heading is placed already.
  EXPECT_EQ(rule.Next(" soon"), MarkerAction::kRemove);

  NewsMarkerRule only_old(CVersionNumber("3.0"));
  EXPECT_EQ(only_old.Next("2.2"), MarkerAction::kOldChangesHeading);
  EXPECT_EQ(only_old.Next("2.1"), MarkerAction::kRemove);
}

TEST(NewsMarkers, HeadingLineBreaksBecomeCrLf) {
  EXPECT_EQ(ExpandHeading("New:\\nfirst\\n"), "New:\r\nfirst\r\n");
  EXPECT_EQ(ExpandHeading("a\\\\n"), "a\\\r\n");
  EXPECT_EQ(ExpandHeading("tail\\"), "tail\\");
  EXPECT_EQ(ExpandHeading("C:\\new"), "C:\r\new");
}

}  // namespace
}  // namespace corvane
