// Files that mix line ends: Windows and Unix lines read as one kind; a lone
// CR among LF lines (or an LF among CR lines) named in the message of a
// reader that refuses the file.

#include "formats/mixedlineends.h"

#include <string>
#include <utility>

#include "formats/readlandmarks.h"
#include "readertesting.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

const std::string kAdvice =
    "; it was read as a blank, not a line end: save the file with one kind of line end";

std::string loneCr(long line, const std::string& others) {
  return "the file mixes line ends: line " + std::to_string(line) +
         " holds a lone CR (the line end of old Macintosh files) where the other lines end in " +
         others + kAdvice;
}

std::string loneLf(long line) {
  return "the file mixes line ends: line " + std::to_string(line) +
         " holds an LF (the line end of Unix files) where the other lines end in CR (old "
         "Macintosh)" +
         kAdvice;
}

TEST(MixedLineEnds, NamesTheFirstLineEndOfTheOtherKind) {
  const struct {
    std::string text;
    std::string expected;
  } cases[] = {
      {"1 2\n3 4\n5 6\r7 8\n", loneCr(3, "LF (Unix)")},
      {"1 2\r\n3 4\r\n5 6\r7 8\r\n", loneCr(3, "CRLF (Windows)")},
      {"\r1 2\n3 4\n", loneCr(1, "LF (Unix)")},
      {"1\r2\r3\n4\r5\r", loneLf(3)},
      // Windows and Unix lines, a CR file with a final LF or with CRLF
      // lines, a final lone CR: every line end is where the readers see one.
      {"1 2\r\n3 4\n5 6\r\n", ""},
      {"1\r2\r3\r\n", ""},
      {"1\r2\r\n3\r4\r", ""},
      {"a\r\nb\r", ""},
      {"", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(mixedlineends(c.text), c.expected) << c.text;
  }
}

// The same text with every other line ending in CRLF reads as with LF alone.
TEST(MixedLineEnds, WindowsAndUnixLinesAreReadInEveryFormat) {
  const struct {
    std::string name;
    std::string text;
    Eigen::Index specimens;
  } files[] = {
      {"a.tps", "LM=2\n0 0\n3 4\nID=a\nLM=2\n1 1\n4 5\nID=b\n", 2},
      {"a.nts", "\" two\n1 2L 4 0\na\nb\n0 0 3 4\n1 1 4 5\n", 2},
      {"m.txt",
       "[individuals]\n2\n[landmarks]\n2\n[dimensions]\n2\n[names]\na\nb\n[rawpoints]\n'#1\n0 "
       "0\n3 4\n'#2\n1 1\n4 5\n",
       2},
      {"a.csv", "id,x1,y1,x2,y2\na,0,0,3,4\nb,1,1,4,5\n", 2},
      {"z.txt", "0 0 3 4 5 6 7\n1 1 4 5 5 6 7\n", 2},
      {"a.fcsv",
       "# Markups fiducial file version = 4.11\n# CoordinateSystem = RAS\n# columns = "
       "id,x,y,z,ow,ox,oy,oz,vis,sel,lock,label,desc,associatedNodeID\nvtk1,0,0,0,0,0,0,1,1,1,0,"
       "F-1,,\nvtk2,3,4,0,0,0,0,1,1,1,0,F-2,,\n",
       1},
  };
  // Apart, under one name: a markup file's name is its specimen's ID.
  testing::TempDir lfDir;
  testing::TempDir mixedDir;
  for (const auto& f : files) {
    SCOPED_TRACE(f.name);
    std::string mixed;
    bool windows = true;
    for (char c : f.text) {
      if (c == '\n' && std::exchange(windows, !windows)) mixed += '\r';
      mixed += c;
    }
    testing::writeText(lfDir.file(f.name), f.text);
    testing::writeText(mixedDir.file(f.name), mixed);
    const LandmarkSet lf = readlandmarks(lfDir.file(f.name), std::nullopt, {});
    const LandmarkSet read = readlandmarks(mixedDir.file(f.name), std::nullopt, {});
    EXPECT_EQ(read.specimens(), f.specimens);
    EXPECT_EQ(read.coords, lf.coords);
    EXPECT_EQ(read.ids, lf.ids);
  }
}

// A refusal of a file whose lines read as one says why they did.
TEST(MixedLineEnds, ARefusalNamesTheLineWhereTheEndsMix) {
  const struct {
    std::string name;
    std::string text;
    long line;
    std::string note;
  } cases[] = {
      {"z.txt", "1 2 3 4 5 6 9\n1 2 3 4 5 6 9\r1 2 3 4 5 6 9\n1 2 3 4 5 6 9\n", 2,
       loneCr(2, "LF (Unix)")},
      {"a.tps", "LM=2\n0 0\n3 4\nID=a\rLM=2\n1 1\n4 5\nID=b\n", 5, loneCr(4, "LF (Unix)")},
      {"a.csv", "id,x1,y1\r\na,1,2\rb,3,4\r\n", 2, loneCr(2, "CRLF (Windows)")},
      {"b.tps", "LM=2\r0 0\r3 4\rID=a\nLM=2\r1 1\r4 5\rID=b\r", 5, loneLf(4)},
  };
  testing::TempDir dir;
  for (const auto& c : cases) {
    testing::writeText(dir.file(c.name), c.text);
    testing::expectRefused([&] { readlandmarks(dir.file(c.name), std::nullopt, {}); },
                           dir.file(c.name), c.line, "; " + c.note, c.name);
  }
}

}  // namespace
}  // namespace tarvolin
