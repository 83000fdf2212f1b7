// Files that mix line ends: Windows and Unix lines read as one kind; a lone
// CR among LF lines (or an LF among CR lines) named in the message of a
// reader that refuses the file.

#include <string>
#include <utility>

#include "core/errors.h"
#include "formats/readlandmarks.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

std::string loneCr(long line, const std::string& others) {
  return "; the file mixes line ends: line " + std::to_string(line) +
         " holds a lone CR (the line end of old Macintosh files) where the other lines end in " +
         others +
         "; it was read as a blank, not a line end: save the file with one kind of line end";
}

// A refusal says where two lines read as one, and only then.
TEST(MixedLineEnds, ARefusalNamesTheLineWhereTheEndsMix) {
  const struct {
    std::string name;
    std::string text;
    long line;
    std::string note;  // the end of the message; empty: none
  } cases[] = {
      {"z.txt", "1 2 3 4 5 6 9\n1 2 3 4 5 6 9\r1 2 3 4 5 6 9\n1 2 3 4 5 6 9\n", 2,
       loneCr(2, "LF (Unix)")},
      {"a.tps", "LM=2\n0 0\n3 4\nID=a\rLM=2\n1 1\n4 5\nID=b\n", 5, loneCr(4, "LF (Unix)")},
      {"a.csv", "id,x1,y1\r\na,1,2\rb,3,4\r\n", 2, loneCr(2, "CRLF (Windows)")},
      {"b.tps", "LM=2\r0 0\r3 4\rID=a\nLM=2\r1 1\r4 5\rID=b\r", 5,
       "; the file mixes line ends: line 4 holds an LF (the line end of Unix files) where the "
       "other lines end in CR (old Macintosh); it was read as a blank, not a line end: save the "
       "file with one kind of line end"},
      // Windows and Unix lines, a CR file with a final LF: no two lines read as one.
      {"c.csv", "id,x1,y1\r\na,1,2\nb,3\r\n", 3, ""},
      {"c.tps", "LM=2\r0 0\r3 4\r5 6\n", 4, ""},
  };
  testing::TempDir dir;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    testing::writeText(dir.file(c.name), c.text);
    try {
      readlandmarks(dir.file(c.name), std::nullopt, {});
      ADD_FAILURE() << "read without an error";
    } catch (const InputError& e) {
      EXPECT_EQ(e.line(), c.line) << e.what();
      const bool noted = e.message().find("mixes line ends") != std::string::npos;
      EXPECT_EQ(noted, !c.note.empty()) << e.what();
      EXPECT_TRUE(e.message().ends_with(c.note)) << e.what();
    }
  }
}

// The same text with every other line ending in CRLF reads as with LF alone.
TEST(MixedLineEnds, WindowsAndUnixLinesAreReadInEveryFormat) {
  const std::string files[] = {
      "LM=2\n0 0\n3 4\nID=a\nLM=2\n1 1\n4 5\nID=b\n",
      "\" two\n1 2L 4 0\na\nb\n0 0 3 4\n1 1 4 5\n",
      "[individuals]\n2\n[landmarks]\n2\n[dimensions]\n2\n[names]\na\nb\n[rawpoints]\n'#1\n0 "
      "0\n3 4\n'#2\n1 1\n4 5\n",
      "id,x1,y1,x2,y2\na,0,0,3,4\nb,1,1,4,5\n",
      "0 0 3 4 5 6 7\n1 1 4 5 5 6 7\n",
  };
  testing::TempDir dir;
  for (const std::string& text : files) {
    SCOPED_TRACE(text);
    std::string mixed;
    bool windows = true;
    for (char c : text) {
      if (c == '\n' && std::exchange(windows, !windows)) mixed += '\r';
      mixed += c;
    }
    testing::writeText(dir.file("lf.txt"), text);
    testing::writeText(dir.file("mixed.txt"), mixed);
    const LandmarkSet lf = readlandmarks(dir.file("lf.txt"), std::nullopt, {});
    const LandmarkSet read = readlandmarks(dir.file("mixed.txt"), std::nullopt, {});
    EXPECT_EQ(read.specimens(), 2);
    EXPECT_EQ(read.coords, lf.coords);
    EXPECT_EQ(read.ids, lf.ids);
  }
}

}  // namespace
}  // namespace tarvolin
