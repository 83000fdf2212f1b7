#include "numerics/missinglandmarkslist.h"

#include <algorithm>
#include <limits>

#include "core/errors.h"
#include "geometrytesting.h"
#include "numerics/resolvemissing.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

// `incomplete` of 70 flat specimens of 4 landmarks miss some: specimen "b"
// landmarks 1 and 3, the others from "c" on landmark 2.
LandmarkSet withIncomplete(Eigen::Index incomplete) {
  std::vector<std::pair<Eigen::Index, Eigen::Index>> holes;
  for (Eigen::Index i = 1; i <= incomplete; ++i) {
    if (i == 1) {
      holes.insert(holes.end(), {{1, 0}, {1, 2}});
    } else {
      holes.emplace_back(i, 1);
    }
  }
  return testing::setWithHoles(Eigen::MatrixXd::Random(70, 8), 2, holes);
}

TEST(Missinglandmarkslist, ListsEveryIncompleteSpecimenUpToFifty) {
  const struct {
    Eigen::Index incomplete;
    long lines;
    std::string last;
  } cases[] = {
      {0, 0, ""},
      {1, 1, "specimen \"b\": landmarks 1, 3"},
      {2, 2, "specimen \"c\": landmark 2"},
      {50, 50, "specimen \"s51\": landmark 2"},
      {51, 51, "... and 1 more specimen"},
      {60, 51, "... and 10 more specimens"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.incomplete);
    LandmarkSet set = withIncomplete(c.incomplete);
    const std::string list = missinglandmarkslist(set);
    EXPECT_EQ(std::count(list.begin(), list.end(), '\n') + (list.empty() ? 0 : 1), c.lines);
    EXPECT_EQ(list.substr(list.rfind('\n') == std::string::npos ? 0 : list.rfind('\n') + 1),
              c.last);
    if (c.incomplete > 0) {
      EXPECT_EQ(list.rfind("specimen \"b\": landmarks 1, 3", 0), 0u);
      EXPECT_THROW_MSG(resolvemissing(set, MissingPolicy::refuse, testing::noNotes()), InputError,
                       ": " + std::to_string(c.incomplete) + " specimen" +
                           (c.incomplete == 1 ? " has" : "s have") + " missing landmarks:\n" +
                           list);
    }
  }
}

// The window's list, which scrolls, holds every incomplete specimen.
TEST(Missinglandmarkslist, ListsAsManyAsAskedFor) {
  const struct {
    Eigen::Index incomplete;
    size_t limit;
    long lines;
    std::string last;
  } cases[] = {
      {60, 50, 51, "... and 10 more specimens"},
      {60, 5, 6, "... and 55 more specimens"},
      {60, std::numeric_limits<size_t>::max(), 60, "specimen \"s61\": landmark 2"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.limit);
    const std::string list = missinglandmarkslist(withIncomplete(c.incomplete), c.limit);
    EXPECT_EQ(std::count(list.begin(), list.end(), '\n') + 1, c.lines);
    EXPECT_EQ(list.substr(list.rfind('\n') + 1), c.last);
  }
}

}  // namespace
}  // namespace tarvolin
