#include "numerics/slidewarnings.h"

#include <string>
#include <vector>

#include "tests/testing.h"

namespace tarvolin {
namespace {

TEST(SlideWarnings, NameTheSpecimenAndTheSemilandmark) {
  const struct {
    SlideStray stray;
    std::string line;
  } cases[] = {
      {{6, 131, StrayKind::offCurve, 1.4, 0.02, 0},
       "shell_07: semilandmark 132 slid 1.4 centroid sizes off its curve"},
      {{0, 11, StrayKind::pastAfter, 0.01, 0.02, 12},
       "shell_01: semilandmark 12 slid past landmark 13, the point after it on its curve"},
      {{0, 11, StrayKind::pastBefore, 0.01, 0.02, 10},
       "shell_01: semilandmark 12 slid past landmark 11, the point before it on its curve"},
      {{1, 39, StrayKind::overSurface, 0.123, 0.0314, 0},
       "shell_02: semilandmark 40 slid 0.12 centroid sizes over its surface, farther than 3 "
       "times the mean spacing of its points (0.031)"},
      {{8, 3, StrayKind::offCurve, 0.5, 0.1, 0},
       "specimen 9: semilandmark 4 slid 0.5 centroid sizes off its curve"},
  };
  std::vector<std::string> ids;
  for (int i = 1; i <= 7; ++i) ids.push_back("shell_0" + std::to_string(i));
  GpaReport all;
  for (const auto& c : cases) {
    GpaReport one;
    one.strays = {c.stray};
    EXPECT_EQ(slidewarnings(one, ids, 10), std::vector<std::string>{c.line});
    all.strays.push_back(c.stray);
  }
  // Beyond the lines asked for, one line counts the rest and their specimens.
  const std::vector<std::string> cut = slidewarnings(all, ids, 2);
  ASSERT_EQ(cut.size(), 3u);
  EXPECT_EQ(cut[1], cases[1].line);
  EXPECT_EQ(cut[2], "and 3 more semilandmarks slid astray in 3 specimens");
  EXPECT_TRUE(slidewarnings(GpaReport{}, ids, 10).empty());
}

}  // namespace
}  // namespace tarvolin
