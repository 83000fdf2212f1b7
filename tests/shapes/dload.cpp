#include "shapes/dload.h"

#include <string>

#include "platform/errors.h"
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

TEST(Dload, BlankLineEndsMatrix) {
  const Eigen::MatrixXd firstRow = (Eigen::MatrixXd(1, 3) << 1, 2, 3).finished();
  EXPECT_TRUE(assert_near(dload(dataPath("dload/blank_line_ends_matrix.txt")), firstRow, 0));
  EXPECT_TRUE(assert_near(dload(dataPath("dload/crlf_blank_line_ends_matrix.txt")), firstRow, 0));
  // A line of blanks and tabs ends it too; the text and the short row after it are not read.
  EXPECT_TRUE(assert_near(dload(dataPath("dload/whitespace_line_ends_matrix.txt")), kTwoRows, 0));
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
