#include "formats/dload.h"

#include <sys/stat.h>

#include <fstream>
#include <string>
#include <thread>

#include "core/errors.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

using testing::assert_near;
using testing::dataPath;
using testing::mentions;
using testing::TempDir;

// The InputError that `read` raises; fails the test when there is none.
template <typename Read>
InputError errorOf(Read read) {
  try {
    read();
  } catch (const InputError& error) {
    return error;
  }
  ADD_FAILURE() << "read without an error";
  return InputError("no error");
}

InputError loadError(const std::string& name) {
  return errorOf([&] { dload(dataPath(name)); });
}

const Eigen::MatrixXd kTwoRows = (Eigen::MatrixXd(2, 3) << 1, 2, 3, 4, 5, 6).finished();

TEST(Dload, TwoRowsWithOrWithoutFinalLineFeed) {
  EXPECT_TRUE(assert_near(dload(dataPath("dload/two_rows.txt")), kTwoRows, 0));
  EXPECT_TRUE(assert_near(dload(dataPath("dload/no_final_line_feed.txt")), kTwoRows, 0));
}

TEST(Dload, CrlfLineEnds) {
  EXPECT_TRUE(assert_near(dload(dataPath("dload/crlf_line_ends.txt")), kTwoRows, 0));
}

TEST(Dload, CommasAndTabsSeparateNumbers) {
  EXPECT_TRUE(assert_near(dload(dataPath("dload/commas_and_tabs.txt")),
                          (Eigen::MatrixXd(3, 3) << 1, 2, 3, 4, 5, 6, 7, 8, 9).finished(), 0));
}

TEST(Dload, OneColumnXlistGivesColumnVector) {
  EXPECT_TRUE(assert_near(dload(dataPath("dload/one_column_xlist.txt")),
                          (Eigen::MatrixXd(4, 1) << 1.5, 2.25, -3, 1000).finished(), 0));
}

// The matrix is read in one pass with room guessed from the first line's
// length: lines much shorter than the first make it grow, and a file read
// through a pipe has no length at all. Every number lands in its place,
// across blocks of rows and growths.
TEST(Dload, RowsLandInPlaceWhateverTheRoomGuessed) {
  struct Case {
    const char* what;
    int rows, columns;
    bool longFirstLine, throughPipe;
  };
  for (const Case& c :
       {Case{"one row", 1, 7, false, false}, Case{"blocks and a rest", 37, 5, false, false},
        Case{"short lines after a long one", 300, 3, true, false},
        Case{"through a pipe", 500, 4, false, true}}) {
    SCOPED_TRACE(c.what);
    Eigen::MatrixXd expected(c.rows, c.columns);
    std::string text;
    for (int r = 0; r < c.rows; ++r) {
      for (int col = 0; col < c.columns; ++col) {
        expected(r, col) = r * 100 + col;
        text += std::to_string(r * 100 + col) +
                (r == 0 && c.longFirstLine ? std::string(400, ' ') : " ");
      }
      text += "\n";
    }
    EXPECT_EQ(parsenumericmatrix(text, "text"), expected);
    TempDir dir;
    if (!c.throughPipe) {
      testing::writeText(dir.file("rows.txt"), text);
      EXPECT_EQ(dload(dir.file("rows.txt")), expected);
      continue;
    }
    const std::string fifo = dir.file("rows.fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::thread writer([&] { std::ofstream(fifo) << text; });
    EXPECT_EQ(dload(fifo), expected);
    writer.join();
  }
}

TEST(Dload, BlankLineEndsMatrix) {
  const Eigen::MatrixXd firstRow = (Eigen::MatrixXd(1, 3) << 1, 2, 3).finished();
  EXPECT_TRUE(assert_near(dload(dataPath("dload/blank_line_ends_matrix.txt")), firstRow, 0));
  EXPECT_TRUE(assert_near(dload(dataPath("dload/crlf_blank_line_ends_matrix.txt")), firstRow, 0));
  // A line of blanks and tabs ends it too; the text and the short row after it are not read.
  EXPECT_TRUE(assert_near(dload(dataPath("dload/whitespace_line_ends_matrix.txt")), kTwoRows, 0));
}

// Lines end in the file's own line end; a byte-order mark is passed over;
// lines after a blank one are not read, and the notice says how many. Each
// text is read from memory and from a file, the two roads of the reader.
TEST(Dload, LineEndsMarksAndTheNoticeOfUnreadLines) {
  const struct {
    std::string text;
    Eigen::MatrixXd expected;
    std::string notice;
  } cases[] = {
      {"1 2\r3 4\r5 6\n", (Eigen::MatrixXd(3, 2) << 1, 2, 3, 4, 5, 6).finished(), ""},
      {"1 2\r3 4\r", (Eigen::MatrixXd(2, 2) << 1, 2, 3, 4).finished(), ""},
      {"1 2\r\n3\r4\r\n", (Eigen::MatrixXd(2, 2) << 1, 2, 3, 4).finished(), ""},
      {"\xEF\xBB\xBF"
       "1.5\n2\n",
       (Eigen::MatrixXd(2, 1) << 1.5, 2).finished(), ""},
      {"1\n2\n\n3\n4\n", (Eigen::MatrixXd(2, 1) << 1, 2).finished(),
       "line 3 is blank: the 2 lines after it were not read"},
      {"1\n2\n \t\n3\n\n", (Eigen::MatrixXd(2, 1) << 1, 2).finished(),
       "line 3 is blank: the line after it was not read"},
      {"1\r2\r\r3\r4\r5\n", (Eigen::MatrixXd(2, 1) << 1, 2).finished(),
       "line 3 is blank: the 3 lines after it were not read"},
      {"1\n2\n\n\n \n", (Eigen::MatrixXd(2, 1) << 1, 2).finished(), ""},
  };
  TempDir dir;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    std::string notice = "unchanged";
    EXPECT_EQ(parsenumericmatrix(c.text, "mem.txt", &notice), c.expected);
    EXPECT_EQ(notice, c.notice.empty() ? "unchanged" : c.notice);
    testing::writeText(dir.file("x.txt"), c.text);
    std::string fileNotice;
    EXPECT_EQ(dload(dir.file("x.txt"), nullptr, &fileNotice), c.expected);
    EXPECT_EQ(fileNotice, c.notice);
  }
  testing::writeText(dir.file("utf16.txt"), std::string("\xFF\xFE"
                                                        "1\0\n\0",
                                                        6));
  EXPECT_THROW_MSG(dload(dir.file("utf16.txt")), InputError, "is UTF-16 text; save it as UTF-8");
}

TEST(Dload, SingleDigitLastLineIsARow) {
  EXPECT_TRUE(assert_near(dload(dataPath("dload/single_digit_last_line.txt")),
                          (Eigen::MatrixXd(2, 1) << 5, 7).finished(), 0));
}

TEST(Dload, RowCountMismatchNamesFileLineAndBothCounts) {
  const InputError error = loadError("dload/row_count_mismatch.txt");
  EXPECT_EQ(error.file(), dataPath("dload/row_count_mismatch.txt"));
  EXPECT_EQ(error.line(), 3);
  const std::string what = error.what();
  EXPECT_NE(what.find(dataPath("dload/row_count_mismatch.txt") + ":3:"), std::string::npos) << what;
  EXPECT_TRUE(mentions(error.message(), 2)) << what;
  EXPECT_TRUE(mentions(error.message(), 3)) << what;
}

TEST(Dload, TextInLineNamesTheLine) {
  const InputError error = loadError("dload/text_in_line.txt");
  EXPECT_EQ(error.file(), dataPath("dload/text_in_line.txt"));
  EXPECT_EQ(error.line(), 2);
  EXPECT_NE(error.message().find("not a number"), std::string::npos) << error.what();
}

TEST(Dload, InfiniteValueNamesTheLine) {
  const InputError error = loadError("dload/infinite_value.txt");
  EXPECT_EQ(error.file(), dataPath("dload/infinite_value.txt"));
  EXPECT_EQ(error.line(), 2);
  EXPECT_NE(error.message().find("not a finite number"), std::string::npos) << error.what();

  const struct {
    const char* text;
    const char* message;
  } cases[] = {
      {"1 2\nnan 3\n", "\"nan\" is not a finite number"},
      {"1 2\n3 -inf\n", "\"-inf\" is not a finite number"},
      {"1 2\n1e999 3\n", "\"1e999\" is too large for a number"},
  };
  for (const auto& c : cases) {
    const InputError other = errorOf([&] { parsenumericmatrix(c.text, "mem.txt"); });
    EXPECT_EQ(other.file(), "mem.txt");
    EXPECT_EQ(other.line(), 2) << c.text;
    EXPECT_EQ(other.message(), c.message);
  }
}

TEST(Dload, EmptyFileHoldsNoNumbers) {
  const InputError error = loadError("dload/empty.txt");
  EXPECT_EQ(error.file(), dataPath("dload/empty.txt"));
  EXPECT_EQ(error.line(), 0);
  EXPECT_NE(error.message().find("holds no numbers"), std::string::npos) << error.what();
}

TEST(Dload, FirstLineBlankIsAnErrorOnLineOne) {
  const InputError error = loadError("dload/first_line_blank.txt");
  EXPECT_EQ(error.file(), dataPath("dload/first_line_blank.txt"));
  EXPECT_EQ(error.line(), 1);
}

TEST(Dload, MissingFileGivesMinusOneAndReason) {
  TempDir dir;
  std::string reason;
  const Eigen::MatrixXd x = dload(dir.file("missing.txt"), &reason);
  EXPECT_TRUE(assert_near(x, Eigen::MatrixXd::Constant(1, 1, -1), 0));
  EXPECT_FALSE(reason.empty());
  EXPECT_TRUE(assert_near(dload(dir.file("missing.txt")), Eigen::MatrixXd::Constant(1, 1, -1), 0));
}

}  // namespace
}  // namespace tarvolin
