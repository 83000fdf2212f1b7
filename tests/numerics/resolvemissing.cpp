#include "numerics/resolvemissing.h"

#include "core/errors.h"
#include "geometrytesting.h"
#include "numerics/centsize3Da.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

using Holes = std::vector<std::pair<Eigen::Index, Eigen::Index>>;

// Five flat specimens "a" to "e" of five landmarks, a pentagon turned and
// resized, with a wireframe around it, landmarks 3 and 4 semilandmarks,
// scales 1 to 3, sizes given as 10 to 50 where `sizeGiven` (NaN for "d"
// where `noSizeForD`); holes as given.
LandmarkSet pentagons(const Holes& holes, bool sizeGiven = false, bool noSizeForD = false) {
  std::mt19937 engine(30);
  Eigen::MatrixXd shape(5, 2);
  shape << 0, 0, 4, 0, 5, 3, 2, 5, -1, 3;
  Eigen::MatrixXd coords(5, 10);
  for (Eigen::Index i = 0; i < 5; ++i) {
    const Eigen::MatrixXd x =
        (1.0 + 0.2 * static_cast<double>(i)) * shape * testing::randomRotation2D(engine) +
        0.1 * testing::randomConfiguration(engine, 5).leftCols(2);
    for (Eigen::Index j = 0; j < 5; ++j) coords.block(i, 2 * j, 1, 2) = x.row(j);
  }
  LandmarkSet set = testing::setWithHoles(coords, 2, holes);
  set.wireframe = {{1, 2}, {2, 3}, {3, 4}, {4, 5}, {5, 1}};
  set.semilandmark = {false, false, true, true, false};
  set.scale = Eigen::VectorXd::LinSpaced(5, 1.0, 3.0);
  set.sizeGiven = sizeGiven;
  finishlandmarkset(set);
  if (sizeGiven) set.size = Eigen::VectorXd::LinSpaced(5, 10.0, 50.0);
  if (noSizeForD) set.size(3) = std::numeric_limits<double>::quiet_NaN();
  return set;
}

const Holes bAndC = {{1, 2}, {2, 1}};

TEST(Resolvemissing, EachPolicyOnASmallSet) {
  const struct {
    MissingPolicy policy;
    Holes holes;
    bool sizeGiven;
    std::string summary;
    std::string ids;  // one letter each
  } cases[] = {
      {MissingPolicy::refuse, {}, false, "", "abcde"},
      {MissingPolicy::dropSpecimens, bAndC, false,
       "left out 2 specimens with missing landmarks (3 remain): \"b\", \"c\"", "ade"},
      {MissingPolicy::dropLandmarks, bAndC, false,
       "left out 2 landmarks missing in some specimen (3 remain): 2, 3", "abcde"},
      {MissingPolicy::dropLandmarks, bAndC, true,
       "left out 2 landmarks missing in some specimen (3 remain): 2, 3", "abcde"},
      {MissingPolicy::estimate, bAndC, false,
       "estimated 2 landmarks: specimen \"b\" landmark 3; specimen \"c\" landmark 2", "abcde"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.summary);
    LandmarkSet set = pentagons(c.holes, c.sizeGiven);
    EXPECT_EQ(resolvemissing(set, c.policy, testing::noNotes()).summary, c.summary);
    std::string ids;
    for (const std::string& id : set.ids) ids += id;
    EXPECT_EQ(ids, c.ids);
    if (c.policy == MissingPolicy::dropLandmarks) {
      // Landmarks 2 and 3 go: 4 and 5 become 2 and 3.
      EXPECT_EQ(set.wireframe, (std::vector<std::pair<int, int>>{{2, 3}, {3, 1}}));
      EXPECT_EQ(set.semilandmark, (std::vector<bool>{false, true, false}));
    } else {
      EXPECT_EQ(set.wireframe.size(), 5u);
      EXPECT_EQ(set.semilandmark.size(), 5u);
    }
    EXPECT_EQ(set.missing.size(), 0);
    ASSERT_TRUE(set.coords.allFinite());
    ASSERT_EQ(set.size.size(), set.specimens());
    ASSERT_EQ(set.scale.size(), set.specimens());
    for (Eigen::Index i = 0; i < set.specimens(); ++i) {
      const double expected = c.sizeGiven
                                  ? 10.0 * static_cast<double>(i + 1)
                                  : centsize3Da(testing::configurationOf(set, i)) * set.scale(i);
      EXPECT_NEAR(set.size(i), expected, 1e-12 * expected);
    }
  }
}

TEST(Resolvemissing, RefusalsNameTheFileAndLeaveTheSetAlone) {
  const struct {
    MissingPolicy policy;
    Holes holes;
    bool noSizeForD;
    std::string message;
  } cases[] = {
      {MissingPolicy::refuse, bAndC, false,
       "s.tps: 2 specimens have missing landmarks:\nspecimen \"b\": landmark 3\nspecimen \"c\": "
       "landmark 2"},
      {MissingPolicy::refuse,
       {{3, 0}, {3, 4}},
       false,
       "s.tps: 1 specimen has missing landmarks:\nspecimen \"d\": landmarks 1, 5"},
      {MissingPolicy::dropSpecimens,
       {{0, 0}, {1, 0}, {2, 1}, {3, 2}, {4, 3}},
       false,
       "s.tps: every specimen has missing landmarks"},
      {MissingPolicy::dropLandmarks,
       {{0, 0}, {1, 1}, {2, 2}},
       false,
       "would leave 2 of 5; at least 3 are needed"},
      {MissingPolicy::dropLandmarks, bAndC, true,
       "s.tps: specimen \"d\" has no value in the file's size column"},
      {MissingPolicy::estimate, bAndC, true,
       "s.tps: specimen \"d\" has no value in the file's size column"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    LandmarkSet set = pentagons(c.holes, c.noSizeForD, c.noSizeForD);
    const LandmarkSet before = set;
    EXPECT_THROW_MSG(resolvemissing(set, c.policy, testing::noNotes()), InputError, c.message);
    EXPECT_TRUE(testing::sameBits(set.coords, before.coords));
    EXPECT_EQ(set.ids, before.ids);
    EXPECT_EQ(set.wireframe, before.wireframe);
  }
}

}  // namespace
}  // namespace tarvolin
