// The console tool's lines: every field quoted, so that no text can break a row.
#include "cli/record_line.h"

#include <gtest/gtest.h>

#include "catalogue/dependency_walker.h"
#include "tests/unit/memory_platform.h"

namespace corvane {
namespace {

TEST(RecordLine, DependencyFieldsAreQuotedLikeRecordsAndSayHowAndWhen) {
  MemoryPlatform env;
  CFileObject found(env.platform);
  found.SetDependency({"kernel32.dll", "C:\\Windows\\System32\\kernel32.dll", FoundBy::kApiSet, true});
  EXPECT_EQ(FormatDependencyLine(found),
            "\"kernel32.dll\",\"C:\\Windows\\System32\\kernel32.dll\",\"API set\",\"delay\"");
  CFileObject crafted(env.platform);
  crafted.SetDependency({"a\"b\",\"c\r\nd.dll", "", FoundBy::kNotFound, false});
  EXPECT_EQ(FormatDependencyLine(crafted), "\"a\"\"b\"\",\"\"c\r\nd.dll\",\"\",\"not found\",\"\"");
}

}  // namespace
}  // namespace corvane
