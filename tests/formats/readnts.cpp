#include "formats/readnts.h"

#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "core/errors.h"
#include "core/readtextfile.h"
#include "readertesting.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

using testing::assert_near;
using testing::dataPath;

constexpr double NA = std::numeric_limits<double>::quiet_NaN();

using testing::sameWithNaN;

LandmarkSet readSource(const std::string& source, const ReadOptions& options = {}) {
  return testing::readSource(readnts, "nts", source, "t.nts", options);
}

TEST(ReadNts, ReadsMatricesOfEveryLayout) {
  const struct {
    std::string source;
    ReadOptions options;
    int dims;
    Eigen::MatrixXd coords;
    std::vector<std::string> ids;
    Eigen::VectorXd size;
  } cases[] = {
      {"labels_and_code.nts",
       {},
       3,
       (Eigen::MatrixXd(2, 6) << 0, 0, 0, 3, 4, 0, NA, NA, NA, 3, 4, 0).finished(),
       {"skull_a", "skull_b"},
       Eigen::Vector2d(std::sqrt(12.5), NA)},
      {"comments_between_parts.nts",
       {},
       2,
       (Eigen::MatrixXd(2, 4) << 0, 0, 3, 4, 1, 1, 4, 5).finished(),
       {"a", "b"},
       Eigen::Vector2d(std::sqrt(12.5), std::sqrt(12.5))},
      {"apostrophe_comments.dta",
       {},
       3,
       (Eigen::MatrixXd(2, 6) << 0, 0, 0, 3, 4, 0, NA, NA, NA, 3, 4, 0).finished(),
       {"a", "b"},
       Eigen::Vector2d(std::sqrt(12.5), NA)},
      {"code_with_nothing_missing.nts",
       {},
       3,
       (Eigen::MatrixXd(2, 6) << 0, 0, 0, 3, 4, 0, 1, 1, 1, 4, 5, 1).finished(),
       {"1", "2"},
       Eigen::Vector2d(std::sqrt(12.5), std::sqrt(12.5))},
      {"1 1 6 0\n0 0 0 3 4 0\n",
       {.dims = 3, .missingCode = {}},
       3,
       (Eigen::MatrixXd(1, 6) << 0, 0, 0, 3, 4, 0).finished(),
       {"1"},
       Eigen::VectorXd::Constant(1, std::sqrt(12.5))},
      {"1 1 6 0 dim=2\r\n0 0 3 4 NA nan\r\n",
       {.dims = 3, .missingCode = {}},
       2,
       (Eigen::MatrixXd(1, 6) << 0, 0, 3, 4, NA, NA).finished(),
       {"1"},
       Eigen::VectorXd::Constant(1, NA)},
      // One line end per file: a stray CR inside a comment does not end it,
      // and old Macintosh lines with a final LF count as lines.
      {"\" from a scanner\r, 2019\n1 1 4 0\n0 0 3 4\n",
       {},
       2,
       (Eigen::MatrixXd(1, 4) << 0, 0, 3, 4).finished(),
       {"1"},
       Eigen::VectorXd::Constant(1, std::sqrt(12.5))},
      {"\" a, b\r1 1 4 0\r0 0 3 4\n",
       {},
       2,
       (Eigen::MatrixXd(1, 4) << 0, 0, 3, 4).finished(),
       {"1"},
       Eigen::VectorXd::Constant(1, std::sqrt(12.5))},
      {"1 1 4 0\n0 0 -1 -1\n",
       {.dims = 0, .missingCode = -1.0},
       2,
       (Eigen::MatrixXd(1, 4) << 0, 0, NA, NA).finished(),
       {"1"},
       Eigen::VectorXd::Constant(1, NA)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.source);
    const LandmarkSet set = readSource(c.source, c.options);
    EXPECT_EQ(set.dims, c.dims);
    EXPECT_TRUE(sameWithNaN(set.coords, c.coords));
    EXPECT_EQ(set.ids, c.ids);
    EXPECT_TRUE(sameWithNaN(set.size, c.size));
    EXPECT_EQ(set.hasMissing(), c.coords.hasNaN());
    EXPECT_EQ(set.path, "t.nts");
  }
}

TEST(ReadNts, RefusesWithTheLineAndTheSpecimen) {
  const struct {
    std::string source;
    long line;
    std::string fragment;
  } cases[] = {
      {"too_few_numbers.nts", 4,
       "ends after 6 numbers; 2 x 4 = 8 were expected, and specimen \"b\" (row 2) has 2 of its 4"},
      {"1 1 4 0\n1 2 3 4\n5\n", 3, "\"5\" stands after the 1 x 4 matrix"},
      {"2 2 4 0\n", 1, "only rectangular matrices (type 1) hold landmark data"},
      {"1 1 6 0\n1 2 3 4 5 6\n", 1, "give the dimension with --dim 2 or --dim 3"},
      {"1 1 7 0 DIM=2\n", 1, "7 columns are not a whole number of 2D landmarks"},
      {"1 1000000000000 6 0 DIM=3\n1 2 3\n", 1, "more than the file's text can hold"},
      {"1 2L 4 0\na a\n1 2 3 4 5 6 7 8\n", 2, "rows 1 and 2 have the same label \"a\""},
      {"1 1 4 0\n1 2 x 4\n", 2, "specimen 1: \"x\" is not a number"},
      {"1 1 4 0\n1 2 1e999 4\n", 2, "\"1e999\" is too large for a number"},
      {"\" only a comment\n", 0, "holds no parameter line"},
      {"1 1 4 1 DIM=2\n", 1, "no missing-value code follows"},
      {"1 3L 2 0\na b\n", 2, "the file ends after 2 of the 3 row labels"},
      {"1 0 4 0\n", 1, "no specimens"},
      {"1 2 4x 0\n", 1, "the count of columns is \"4x\""},
  };
  for (const auto& c : cases) {
    testing::expectRefused([&] { readSource(c.source); }, "t.nts", c.line, c.fragment, c.source);
  }
}

TEST(ReadNts, RandomTextIsReadConsistentlyOrRefused) {
  // A small file with a few characters changed, added or taken out.
  const std::string file = "\" c\n1 2L 4 1 -9 DIM=2\na b\n0 1.5 -9 -9\n2 3\n4e1 5\n";
  const std::string alphabet = "0123456789 .-e\t\n\r\"LlDIM=NA";
  EXPECT_GT(testing::readOrRefuseEdits(readnts, file, alphabet, "random.nts", 32), 100);
}

}  // namespace
}  // namespace tarvolin
