#include "numerics/reversiblecurves.h"

#include "tests/testing.h"

namespace tarvolin {
namespace {

// Each run of sliders is one curve, with the points its ends slide from.
TEST(Reversiblecurves, EachRunOfSlidersIsACurve) {
  const struct {
    Sliders sliders;
    std::vector<std::vector<int>> curves;
  } cases[] = {
      {{}, {}},
      {{{{7, 8, 9}, {8, 9, 10}, {9, 10, 11}}}, {{7, 8, 9, 10, 11}}},
      {{{{2, 3, 4}, {5, 6, 7}, {6, 7, 8}}}, {{2, 3, 4}, {5, 6, 7, 8}}},
      {{{{0, 1, 2}, {1, 2, 3}, {5, 6, 7}}}, {{0, 1, 2, 3}, {5, 6, 7}}},
      {{{{12, 2, 3}, {2, 3, 13}}}, {{12, 2, 3, 13}}},
      {{{{0, 1, 2}, {2, 3, 4}}}, {{0, 1, 2}, {2, 3, 4}}},
  };
  for (const auto& c : cases) EXPECT_EQ(reversiblecurves(c.sliders), c.curves);
}

}  // namespace
}  // namespace tarvolin
