#include "formats/standardizedtext.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "formats/dload.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

using testing::assert_near;

// The text C's printf writes for each row: every number with "%g ", then " \n".
std::string printfText(const Eigen::MatrixXd& m, std::optional<double> lastValue) {
  std::string out;
  char buffer[64];
  for (Eigen::Index i = 0; i < m.rows(); ++i) {
    for (Eigen::Index j = 0; j < m.cols(); ++j) {
      const double v = (j == m.cols() - 1 && lastValue) ? *lastValue : m(i, j);
      std::snprintf(buffer, sizeof buffer, "%g ", v);
      out += buffer;
    }
    out += " \n";
  }
  return out;
}

TEST(Standardizedtext, NumbersAsGeneralFormatAndLinesEndInTwoBlanks) {
  Eigen::RowVector3d row(0.5, 1e-5, 2);
  EXPECT_EQ(standardizedtext(row, 5.0), "0.5 1e-05 5  \n");
  EXPECT_EQ(standardizedtext(row, std::nullopt), "0.5 1e-05 2  \n");

  Eigen::MatrixXd m(3, 4);
  m << -0.0, 123456, 1234567, 0.00009999995,  //
      1e300, -2.5e-7, 999999.5, 1.23456789,   //
      0.1, 0.2, 0.3, 17;
  EXPECT_EQ(standardizedtext(m, std::nullopt), printfText(m, std::nullopt));
  EXPECT_EQ(standardizedtext(m, 3.14159265), printfText(m, 3.14159265));
}

TEST(Standardizedtext, LastValueReplacesLastColumnOnEveryLine) {
  Eigen::MatrixXd m(2, 4);
  m << 1, 2, 3, 40, 4, 5, 6, 50;
  EXPECT_EQ(standardizedtext(m, 9.0), "1 2 3 9  \n4 5 6 9  \n");
  EXPECT_EQ(standardizedtext(m, std::nullopt), "1 2 3 40  \n4 5 6 50  \n");
}

TEST(Standardizedtext, EmptyMatrixGivesEmptyText) {
  EXPECT_EQ(standardizedtext(Eigen::MatrixXd(), std::nullopt), "");
  EXPECT_EQ(standardizedtext(Eigen::MatrixXd(0, 7), 1.0), "");
}

TEST(Standardizedtext, ReadsBackWithinSixSignificantDigits) {
  // Values away from zero with widely spread magnitudes, as sizes and coordinates are.
  Eigen::MatrixXd m = Eigen::MatrixXd::Random(25, 3 * 8 + 1);
  for (Eigen::Index j = 0; j < m.cols(); ++j) {
    const double magnitude = std::pow(10.0, static_cast<double>(j % 13 - 6));
    for (Eigen::Index i = 0; i < m.rows(); ++i) {
      m(i, j) = (m(i, j) < 0 ? m(i, j) - 0.05 : m(i, j) + 0.05) * magnitude;
    }
  }
  const Eigen::MatrixXd back = parsenumericmatrix(standardizedtext(m, std::nullopt), "std.txt");
  ASSERT_EQ(back.rows(), m.rows());
  ASSERT_EQ(back.cols(), m.cols());
  const Eigen::MatrixXd ratio = back.cwiseQuotient(m);
  EXPECT_TRUE(assert_near(ratio, Eigen::MatrixXd::Ones(m.rows(), m.cols()), 5e-6));
  // Six digits is all: the text does not round-trip exactly.
  EXPECT_FALSE(back == m);
}

}  // namespace
}  // namespace tarvolin

namespace tarvolin {
namespace {

// A data set large enough to be written in many pieces, some formatted on
// another thread: the text must be that of printf, number by number, in order.
TEST(Standardizedtext, LargeDataSetInPiecesReadsAsPrintfWritesIt) {
  const Eigen::MatrixXd sdata = Eigen::MatrixXd::Random(333, 1501) * 1000.0;
  std::vector<size_t> pieces;
  std::string text;
  standardizedtext(sdata, 2.5, [&](std::string_view part) {
    pieces.push_back(part.size());
    text += part;
  });
  EXPECT_EQ(text, printfText(sdata, 2.5));
  EXPECT_GT(pieces.size(), 4u);
}

}  // namespace
}  // namespace tarvolin
