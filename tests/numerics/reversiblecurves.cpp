#include "numerics/reversiblecurves.h"

#include "tests/testing.h"

namespace tarvolin {
namespace {

// Each run of sliders is one curve, its ends with it where they are
// semilandmarks (a TPS curve's), without them where they are landmarks.
TEST(Reversiblecurves, EachRunOfSlidersIsACurve) {
  // 7 landmarks and a curve of 5 points; 2 landmarks and curves of 3 and 4.
  std::vector<bool> lastFive(12, false), twoCurves(9, true);
  for (int p = 7; p < 12; ++p) lastFive[p] = true;
  twoCurves[0] = twoCurves[1] = false;
  const struct {
    Sliders sliders;
    std::vector<bool> semilandmark;
    std::vector<std::vector<int>> curves;
  } cases[] = {
      {{}, {}, {}},
      {{{{7, 8, 9}, {8, 9, 10}, {9, 10, 11}}}, lastFive, {{7, 8, 9, 10, 11}}},
      {{{{2, 3, 4}, {5, 6, 7}, {6, 7, 8}}}, twoCurves, {{2, 3, 4}, {5, 6, 7, 8}}},
      {{{{10, 11, 12}, {11, 12, 13}, {12, 13, 14}}}, {}, {{11, 12, 13}}},
      {{{{0, 1, 2}, {1, 2, 3}, {5, 6, 7}}}, {}, {{1, 2}}},
  };
  for (const auto& c : cases) EXPECT_EQ(reversiblecurves(c.sliders, c.semilandmark), c.curves);
}

}  // namespace
}  // namespace tarvolin
