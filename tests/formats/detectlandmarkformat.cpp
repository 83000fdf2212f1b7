// Telling a file's format from its content, and the ZOR rows that may mark
// missing landmarks.

#include "formats/detectlandmarkformat.h"

#include <cmath>
#include <string>

#include "core/errors.h"
#include "formats/readzor.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

TEST(DetectLandmarkFormat, EachFormatByItsContent) {
  const struct {
    std::string text;
    LandmarkFormat expected;
  } cases[] = {
      {"\xEF\xBB\xBF{\"markups\": []}", LandmarkFormat::mrkjson},
      {"# Markups fiducial file version = 4.11\n# CoordinateSystem = LPS\n", LandmarkFormat::fcsv},
      {"# columns = id,x,y,z\nvtk1,1,2,3\n", LandmarkFormat::fcsv},
      {"' a comment\n[Individuals]\n2\n[landmarks]\n3\n", LandmarkFormat::morphologika},
      {"  lm3=2 skull\n1 2 3\n4 5 6\n", LandmarkFormat::tps},
      {"LM=2\r1 2\r3 4\r", LandmarkFormat::tps},
      {"\" digitized 2019\n1 2L 6 0 DIM=3\n", LandmarkFormat::nts},
      {"1 40L 42 1 9999 dim=3\n", LandmarkFormat::nts},
      {"1 2 6 0\n1 2 3 4 5 6\n", LandmarkFormat::nts},
      {"id,x1,y1,z1,size\na,1,2,3,4\n", LandmarkFormat::csv},
      {"a\t1\t2\t3\t4\n", LandmarkFormat::csv},
      {"1;2,5;3\n", LandmarkFormat::csv},
      {"\n\n1 2 3 4 5 6 7\n", LandmarkFormat::zor},
      {"1,2,3,4,5,6,7\n", LandmarkFormat::zor},
      {"1 2 3 0 5 6 7\n", LandmarkFormat::zor},
      // Rows of numbers with semicolons are a table without IDs.
      {"1;2;3;4;5;6;7\n", LandmarkFormat::csv},
      // NA and NaN are coordinates not measured, not a header or an ID.
      {"NA 2 3 4 5 6 7\n", LandmarkFormat::zor},
      {"1,NaN,3,4,5,6,7\n", LandmarkFormat::zor},
      // R's write.csv quotes the header; an NTS comment is followed by the parameter line.
      {"\"id\",\"x1\",\"y1\"\n\"a\",1,2\n", LandmarkFormat::csv},
      {"\"\",\"x1\",\"y1\"\n\"1\",1,2\n", LandmarkFormat::csv},
      {"\"a\", b\n1 2L 6 0\n", LandmarkFormat::nts},
      // R's write.table: quoted names apart by blanks, the quoted row names
      // after them; not NTS comments with no parameter line.
      {"\"x1\" \"y1\" \"x2\" \"y2\"\n\"1\" 1.2 3.4 5 6\n\"2\" 1 2 3 4\n", LandmarkFormat::csv},
      {"\r\n\"x1\"  \"y \"\"1\"\"\"\r\n1.2 3.4\r\n", LandmarkFormat::csv},
      {"\" x1 y1\n\"1\" 1.2 3.4\n", LandmarkFormat::nts},
      // ' comment lines, as 3D digitizing programs open their .dta files.
      {"'#skulls\n' 2021\n1 2L 6 1 9999 DIM=3\n", LandmarkFormat::nts},
      // One line end per file: a CR file with a final LF, an LF file with a stray CR.
      {"1 2 3 4 5 6 7\r1 2 3 4 5 6 7\r1 2 3 4 5 6 7\n", LandmarkFormat::zor},
      {"# columns = id,x,y,z\nvtk1,1,2\r,3\nvtk2,1,2,3\n", LandmarkFormat::fcsv},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(detectlandmarkformat(c.text, "f"), c.expected) << c.text;
  }
  // A ZOR row longer than the start that is looked at, cut inside a number.
  std::string longRow;
  while (longRow.size() < 70000) longRow += "-12.3456e1 ";
  EXPECT_EQ(detectlandmarkformat(longRow.substr(0, 64 * 1024), "f"), LandmarkFormat::zor);
  EXPECT_THROW_MSG(detectlandmarkformat(" \n\t\n", "blank.txt"), InputError,
                   "blank.txt: holds no landmark data");
}

TEST(DetectLandmarkFormat, TextOfNoFormatIsSaidSo) {
  const struct {
    std::string text;
    std::string message;
  } cases[] = {
      {"hello world\n1 2 3\n",
       "f.txt: is not a landmark file in any format Tarvolin reads; line 1 (\"hello world\")"},
      {"\n\nskull_a 1 2 3\n", "line 3 (\"skull_a 1 2 3\")"},
      {"hello world\n", "; use --format"},
      // A line longer than what is looked at, with nothing to part it.
      {std::string(70000, 'x'), "line 1 (\"" + std::string(60, 'x') + "...\")"},
      {"skull\x1b[31m \x07 x\n", "line 1 (\"skull\\e[31m \\x07 x\")"},
      {std::string("\xFF\xFE"
                   "1\0 \0",
                   6),
       "f.txt: is UTF-16 text; save it as UTF-8"},
      {std::string(4096, '\0'), "f.txt: is not a text file: it holds zero (NUL) bytes"},
  };
  for (const auto& c : cases) {
    EXPECT_THROW_MSG(detectlandmarkformat(c.text, "f.txt"), InputError, c.message);
  }
}

// ZOR rows by the file's own line end, read from memory and from a file: a
// CR file with a final LF is one specimen per line, and a blank line that
// ends the data is noticed with the count of the lines after it.
TEST(ReadZor, LineEndsAndTheNoticeOfUnreadLines) {
  const struct {
    std::string text;
    Eigen::Index specimens;
    std::string notice;
  } cases[] = {
      {"1 2 3 4 5 6 9\r1 2 3 4 5 7 9\r1 2 3 4 5 8 9\n", 3, ""},
      {"\xEF\xBB\xBF"
       "1 2 3 4 5 6 9\r\n1 2 3 4 5 7 9\r\n",
       2, ""},
      {"1 2 3 4 5 6 9\n1 2 3 4 5 7 9\n\n1 2 3 4 5 8 9\n1 2 3 4 5 8 9\n", 2,
       "line 3 is blank: the 2 lines after it were not read"},
      {"1 NA 3 4 5 6 9\n1 2 3 4 5 7 9\n\nnotes\n", 2,
       "line 3 is blank: the line after it was not read"},
  };
  testing::TempDir dir;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const LandmarkSet fromText = readzor(c.text, "f.txt", {});
    EXPECT_EQ(fromText.specimens(), c.specimens);
    EXPECT_EQ(fromText.notice, c.notice);
    testing::writeText(dir.file("rows.txt"), c.text);
    const LandmarkSet fromFile = readzorfile(dir.file("rows.txt"), {});
    EXPECT_EQ(fromFile.specimens(), c.specimens);
    EXPECT_EQ(fromFile.notice, c.notice);
  }
}

TEST(ReadZor, MissingMarksDimensionsAndRefusals) {
  const double nan = std::nan("");
  const struct {
    std::string text;
    ReadOptions options;
    Eigen::MatrixXd coords;  // empty: refused with `error`
    std::string error;
  } cases[] = {
      {"1 2 3 4 5 6 9\n", {}, testing::row({1, 2, 3, 4, 5, 6}), ""},
      {"1 2 3 4 5 6 9\n", {2, std::nullopt}, testing::row({1, 2, 3, 4, 5, 6}), ""},
      {"1 2 NA 4 5 6 9\n", {}, testing::row({nan, nan, nan, 4, 5, 6}), ""},
      {"1 2 3 4 5 nan 9\n", {2, std::nullopt}, testing::row({1, 2, 3, 4, nan, nan}), ""},
      {"1 2 3 -99 5 6 9\n", {0, -99.0}, testing::row({1, 2, 3, nan, nan, nan}), ""},
      {"1 2 3 4 5 6 7 9\n", {}, {}, "f.txt:1: has 8 numbers per specimen"},
      {"1 2 3 4 5 6 9\n", {3, 9.0}, testing::row({1, 2, 3, 4, 5, 6}), ""},
      {"1 2 3 4 5 6 NA\n", {}, {}, "f.txt:1: the size, the last number of the line, is missing"},
      {"1 2 3 4 5 6 9\n1 NA 3 4 x 6 9\n", {}, {}, "f.txt:2: \"x\" is not a number"},
      {"1 2 3 4 5 6 9\n1 2 3 4 5 6 NA 9\n", {}, {}, "f.txt:2: has 8 numbers where line 1 has 7"},
  };
  for (const auto& c : cases) {
    if (c.coords.size() == 0) {
      EXPECT_THROW_MSG(readzor(c.text, "f.txt", c.options), InputError, c.error);
      continue;
    }
    const LandmarkSet set = readzor(c.text, "f.txt", c.options);
    ASSERT_EQ(set.coords.cols(), c.coords.cols()) << c.text;
    const bool same = ((set.coords.array() == c.coords.array()) ||
                       (set.coords.array().isNaN() && c.coords.array().isNaN()))
                          .all();
    EXPECT_TRUE(same) << c.text;
    EXPECT_EQ(set.hasMissing(), c.coords.array().isNaN().any()) << c.text;
    EXPECT_EQ(set.size(0), 9) << "the size column is the file's";
    EXPECT_EQ(set.ids, std::vector<std::string>{"1"});
  }
}

}  // namespace
}  // namespace tarvolin
