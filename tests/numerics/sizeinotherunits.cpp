#include "numerics/sizeinotherunits.h"

#include <cmath>
#include <limits>

#include "tests/testing.h"

namespace tarvolin {
namespace {

// A ratio to the median of 2 or more, at either end, looks like other
// units; a lesser one is only a small or large specimen.
TEST(Sizeinotherunits, OnlyARatioOfTwoOrMoreLooksLikeOtherUnits) {
  const struct {
    double ratio;
    bool other;
  } cases[] = {
      {1.4, false},      {1 / 1.4, false},  {1.99, false},
      {1 / 1.99, false}, {2, true},         {0.5, true},
      {2.54, true},      {1 / 25.4, true},  {9.8, true},
      {1000, true},      {1, false},        {0, false},
      {-10, false},      {INFINITY, false}, {std::numeric_limits<double>::quiet_NaN(), false},
  };
  for (const auto& c : cases) EXPECT_EQ(sizeinotherunits(c.ratio), c.other) << c.ratio;
}

}  // namespace
}  // namespace tarvolin
