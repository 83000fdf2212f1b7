#include "numerics/median.h"

#include <cmath>

#include "tests/testing.h"

namespace tarvolin {
namespace {

Eigen::VectorXd column(std::initializer_list<double> values) {
  Eigen::VectorXd v(static_cast<Eigen::Index>(values.size()));
  Eigen::Index i = 0;
  for (double x : values) v(i++) = x;
  return v;
}

TEST(Median, MiddleValueOrMeanOfTheTwoMiddleValues) {
  EXPECT_EQ(median(column({7})), 7);
  EXPECT_EQ(median(column({1, 2, 3})), 2);
  EXPECT_EQ(median(column({1, 2, 3, 10})), 2.5);
  EXPECT_EQ(median(column({-4, 6})), 1);
}

TEST(Median, InputOrderDoesNotMatter) {
  EXPECT_EQ(median(column({10, 1, 3, 2})), 2.5);
  EXPECT_EQ(median(column({9, -1, 5, 100, 0})), 5);
  EXPECT_EQ(median(column({3, 3, 1, 3})), 3);
}

TEST(Median, EmptyListIsNaN) { EXPECT_TRUE(std::isnan(median(Eigen::VectorXd()))); }

}  // namespace
}  // namespace tarvolin
