#include "core/onallcores.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <vector>

namespace tarvolin {
namespace {

TEST(Onallcores, EveryLaneRunsOnceAndAFailureReachesTheCaller) {
  struct Case {
    int lanes;
    bool large;
    int failingLane;  // -1: none
    int expectedLanes;
  };
  const Case cases[] = {
      {1, true, -1, 1},  {2, true, -1, 2}, {6, true, -1, 6},
      {6, false, -1, 1}, {4, true, 3, 4},  {4, true, 0, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.lanes << " lanes, large " << c.large);
    const LaneCount count(c.lanes);
    std::vector<std::atomic<int>> runs(static_cast<size_t>(c.lanes));
    std::atomic<int> seenLanes{0};
    const auto work = [&](int lane, int lanes) {
      ++runs[static_cast<size_t>(lane)];
      seenLanes = lanes;
      if (lane == c.failingLane) throw std::runtime_error("lane failed");
    };
    if (c.failingLane >= 0) {
      EXPECT_THROW(onallcores(c.large, work), std::runtime_error);
    } else {
      onallcores(c.large, work);
    }
    EXPECT_EQ(seenLanes, c.expectedLanes);
    for (int lane = 0; lane < c.lanes; ++lane) {
      EXPECT_EQ(runs[static_cast<size_t>(lane)], lane < c.expectedLanes ? 1 : 0) << lane;
    }
  }
}

}  // namespace
}  // namespace tarvolin
