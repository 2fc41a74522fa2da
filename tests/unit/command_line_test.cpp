// The start-up command line and the open-file dialog's multi-file answer.
#include "app/command_line.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(CommandLineTest, SwitchesAreCaseBlindAndThePathIsUpperCased) {
  StartRequest r = ParseStartRequest("-r c:\\x.ocx");
  EXPECT_EQ(StartAction::kRegister, r.action);
  EXPECT_EQ("C:\\X.OCX", r.path);
  EXPECT_FALSE(r.rewrite_shell_verbs);
  EXPECT_EQ(StartAction::kUnregister, ParseStartRequest("-U c:\\a b\\y.dll").action);
  EXPECT_EQ("C:\\A B\\Y.DLL", ParseStartRequest("-U c:\\a b\\y.dll").path);
  EXPECT_EQ(StartAction::kViewDetails, ParseStartRequest("-v x.dll").action);
  EXPECT_EQ(StartAction::kCompare, ParseStartRequest("-C x.dll").action);
}

TEST(CommandLineTest, TheThirdCharacterIsSkippedUnexamined) {
  StartRequest r = ParseStartRequest("-RC:\\X.OCX");
  EXPECT_EQ(StartAction::kRegister, r.action);
  EXPECT_EQ(":\\X.OCX", r.path);
}

TEST(CommandLineTest, ShortLinesAndUnknownSwitchesStartTheUserInterface) {
  for (const char* line : {"-R", "-R ", "abc", "x", "-X C:\\X.OCX", "/R C:\\X.OCX"}) {
    StartRequest r = ParseStartRequest(line);
    EXPECT_EQ(StartAction::kUserInterface, r.action) << line;
    EXPECT_FALSE(r.rewrite_shell_verbs) << line;
  }
  StartRequest empty = ParseStartRequest("");
  EXPECT_EQ(StartAction::kUserInterface, empty.action);
  EXPECT_TRUE(empty.rewrite_shell_verbs);
}

TEST(CommandLineTest, ArgumentsFollowTheProgramName) {
  EXPECT_EQ("-R C:\\X.OCX", ArgumentsOf("\"C:\\Program Files\\corvane.exe\" -R C:\\X.OCX"));
  EXPECT_EQ("-R C:\\X.OCX", ArgumentsOf("corvane.exe   -R C:\\X.OCX"));
  EXPECT_EQ("", ArgumentsOf("corvane.exe"));
  EXPECT_EQ("", ArgumentsOf("\"C:\\corvane.exe\"  "));
  EXPECT_EQ("", ArgumentsOf("\"unterminated"));
  EXPECT_EQ("", ArgumentsOf(""));
}

TEST(ChosenFilesTest, OneFileOrAFolderWithSeveralNames) {
  std::string folder;
  const char one[] = "C:\\Servers\\a.ocx\0";
  auto files = ChosenFiles(one, sizeof one, 11, &folder);
  ASSERT_EQ(1u, files.size());
  EXPECT_EQ("C:\\Servers\\a.ocx", files[0]);
  EXPECT_EQ("C:\\Servers", folder);

  const char many[] = "C:\\Servers\0b.dll\0a.ocx\0\0";
  files = ChosenFiles(many, sizeof many, 11, &folder);
  ASSERT_EQ(2u, files.size());
  EXPECT_EQ("C:\\Servers\\b.dll", files[0]);
  EXPECT_EQ("C:\\Servers\\a.ocx", files[1]);
}

TEST(ChosenFilesTest, MalformedAnswersGiveNothing) {
  std::string folder;
  const char unterminated[] = {'C', ':', '\0', 'a', '.', 'd'};
  EXPECT_TRUE(ChosenFiles(unterminated, sizeof unterminated, 3, &folder).empty());
  const char one[] = "C:\\a.dll";
  EXPECT_TRUE(ChosenFiles(one, sizeof one, 0, &folder).empty());
  EXPECT_TRUE(ChosenFiles(one, sizeof one, sizeof one, &folder).empty());
  EXPECT_TRUE(ChosenFiles(nullptr, 10, 3, &folder).empty());
}

}  // namespace
}  // namespace corvane
