#include "numerics/largesteigen.h"

#include <Eigen/Eigenvalues>
#include <random>

#include "tests/testing.h"

namespace tarvolin {
namespace {

using Eigen::Index;
using testing::assert_near;

// Sizes on both sides of a block of reflectors (64), every eigenvalue or a
// few: each vector is one of the matrix's, of unit length and at right
// angles to the others, and the values are the largest, largest first.
TEST(Largesteigen, TheLargestEigenpairsOfSymmetricMatrices) {
  const struct {
    Index size;
    Index wanted;
  } cases[] = {{1, 1},   {2, 2},  {2, 1},     {5, 5},     {5, 0},  {64, 64},
               {65, 65}, {65, 3}, {130, 129}, {200, 200}, {200, 7}};
  std::mt19937 engine(7);
  std::normal_distribution<double> normal(0.0, 1.0);
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.size) + ", " + std::to_string(c.wanted));
    Eigen::MatrixXd x(c.size + 3, c.size);
    for (Index i = 0; i < x.size(); ++i) x(i) = normal(engine);
    const Eigen::MatrixXd a = x.transpose() * x;
    Eigen::MatrixXd lower = a.triangularView<Eigen::Lower>();
    const LargestEigen e = largesteigen(lower, c.wanted);
    EXPECT_EQ(lower.size(), 0);
    const Eigen::VectorXd expected =
        Eigen::SelfAdjointEigenSolver<Eigen::MatrixXd>(a).eigenvalues().reverse();
    ASSERT_EQ(e.values.size(), c.wanted);
    ASSERT_EQ(e.vectors.rows(), c.size);
    ASSERT_EQ(e.vectors.cols(), c.wanted);
    const double scale = expected(0);
    EXPECT_TRUE(assert_near(e.values, expected.head(c.wanted), 1e-11 * scale));
    EXPECT_TRUE(assert_near(a * e.vectors, e.vectors * e.values.asDiagonal(), 1e-10 * scale));
    EXPECT_TRUE(assert_near(e.vectors.transpose() * e.vectors,
                            Eigen::MatrixXd::Identity(c.wanted, c.wanted), 1e-10));
  }
}

TEST(Largesteigen, Refusals) {
  Eigen::MatrixXd notSquare = Eigen::MatrixXd::Zero(3, 2);
  EXPECT_THROW_MSG(largesteigen(notSquare, 1), std::invalid_argument, "3 x 2 matrix");
  Eigen::MatrixXd square = Eigen::MatrixXd::Identity(3, 3);
  EXPECT_THROW_MSG(largesteigen(square, 4), std::invalid_argument, "4 eigenvalues asked");
  EXPECT_THROW_MSG(largesteigen(square, -1), std::invalid_argument, "-1 eigenvalues asked");
}

}  // namespace
}  // namespace tarvolin
