#include "core/lineendof.h"

#include <string>

#include "core/textfilelines.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

TEST(LineEndOf, TheLineEndTheFileMostlyUses) {
  const struct {
    std::string text;
    char expected;
  } cases[] = {
      {"1 2\n3 4\n", '\n'},
      {"1 2\r\n3 4\r\n", '\n'},
      {"1 2\r3 4\r", '\r'},
      {"1 2\r3 4\r5 6\n", '\r'},          // CR lines, then a final LF
      {"1 2\r3 4\n", '\r'},               // a tie: the one met first
      {"a,1\r,2\nb,3\r,4\n# c\n", '\n'},  // stray CRs inside LF lines
      {"1 2 3", '\n'},
      {"", '\n'},
      {std::string(64 * 1024 - 1, '1') + "\r\n", '\n'},  // a CRLF cut at the start looked at
  };
  for (const auto& c : cases) {
    EXPECT_EQ(lineendof(c.text), c.expected) << c.text.substr(0, 40);
  }
}

// A file is split at its own line end: a CR file with a final LF gives its
// lines, and a CR inside the lines of an LF file stays in its line.
TEST(LineEndOf, TextFileLinesSplitsAtTheFilesLineEnd) {
  const struct {
    std::string text;
    std::vector<std::string> lines;
  } cases[] = {
      {"1 2\r3 4\r5 6\n", {"1 2\r", "3 4\r", "5 6\n"}},
      {"a\r b\nc\n", {"a\r b\n", "c\n"}},
      {"1\r\n2\r\n", {"1\r\n", "2\r\n"}},
  };
  testing::TempDir dir;
  for (const auto& c : cases) {
    testing::writeText(dir.file("lines.txt"), c.text);
    TextFileLines lines;
    std::string reason;
    ASSERT_TRUE(lines.open(dir.file("lines.txt"), reason)) << reason;
    std::vector<std::string> read;
    while (auto line = lines.next()) read.emplace_back(*line);
    EXPECT_EQ(read, c.lines) << c.text;
  }
}

}  // namespace
}  // namespace tarvolin
