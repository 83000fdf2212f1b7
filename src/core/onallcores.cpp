#include "core/onallcores.h"

#include <algorithm>
#include <atomic>
#include <thread>

namespace tarvolin {
namespace {

// 0: one lane per core.
std::atomic<int> chosenLanes{0};

}  // namespace

int laneCount() {
  const int chosen = chosenLanes.load();
  if (chosen > 0) return chosen;
  return std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
}

LaneCount::LaneCount(int lanes) : previous_(chosenLanes.exchange(std::max(lanes, 1))) {}

LaneCount::~LaneCount() { chosenLanes.store(previous_); }

}  // namespace tarvolin
