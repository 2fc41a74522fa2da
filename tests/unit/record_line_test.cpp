// The console tool's lines: every field quoted, so that no text can break a row.
#include "cli/record_line.h"

#include <gtest/gtest.h>

#include "tests/unit/memory_platform.h"

namespace corvane {
namespace {

TEST(RecordLine, DependencyFieldsAreQuotedLikeRecords) {
  MemoryPlatform env;
  CFileObject found(env.platform);
  found.SetServer("kernel32.dll", "C:\\Windows\\System32\\kernel32.dll");
  EXPECT_EQ(FormatDependencyLine(found), "\"kernel32.dll\",\"C:\\Windows\\System32\\kernel32.dll\"");
  CFileObject crafted(env.platform);
  crafted.SetServer("a\"b\",\"c\r\nd.dll", "");
  EXPECT_EQ(FormatDependencyLine(crafted), "\"a\"\"b\"\",\"\"c\r\nd.dll\",\"\"");
}

}  // namespace
}  // namespace corvane
