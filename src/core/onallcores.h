#pragma once
// Runs a piece of work as lanes at once, one on each core of the machine,
// where the work is large enough to gain from it: a large data set is read
// from memory faster by many cores than by one.
//
// work(lane, lanes) does its share: lanes is the number of lanes that run at
// once (lane 0 on the calling thread, the others each on a thread of its
// own), 1 when lane 0 does all of it alone (a small piece of work, one core,
// or no thread to be had). Every lane has finished when onallcores returns;
// an exception of a lane is thrown from it, the lowest lane's first. The
// work decides how it shares itself out; what it adds up it adds in a fixed
// order, so its result is the same bits on any number of lanes.
//
// LaneCount sets the number of lanes while it lives (tests compare one, two
// and many lanes); by default, std::thread::hardware_concurrency().
//
// Kept over OpenMP: a memory-bound pass over 64 MB in 13.6 ms against
// 33.2 ms for an OpenMP parallel region on a busy machine
// (bench/libraries_bench.cpp, BM_Lanes_*, medians of five interleaved runs);
// no runtime library for the programs to carry, and exceptions cross from
// the lanes to the caller.
//
// Example:
//   onallcores(data.size() >= kLarge, [&](int lane, int lanes) {
//     for (Index block = lane; block < blocks; block += lanes) check(block);
//   });

#include <exception>
#include <future>
#include <system_error>
#include <vector>

namespace tarvolin {

// The lanes onallcores runs for large work: LaneCount's, or one per core.
int laneCount();

class LaneCount {
 public:
  explicit LaneCount(int lanes);
  ~LaneCount();
  LaneCount(const LaneCount&) = delete;
  LaneCount& operator=(const LaneCount&) = delete;

 private:
  int previous_;
};

template <class Work>
void onallcores(bool large, const Work& work) {
  const int wanted = large ? laneCount() : 1;
  if (wanted <= 1) {
    work(0, 1);
    return;
  }
  // The lanes learn how many they are once every thread has been had: a
  // lane may wait for the lanes before it.
  std::promise<int> started;
  const std::shared_future<int> lanes = started.get_future().share();
  std::vector<std::future<void>> others;
  for (int lane = 1; lane < wanted; ++lane) {
    try {
      others.push_back(std::async(std::launch::async, [&work, lanes, lane] {
        const int count = lanes.get();
        if (lane < count) work(lane, count);
      }));
    } catch (const std::system_error&) {
      // No more threads to be had: the lanes that started share it all.
      break;
    }
  }
  const int count = static_cast<int>(others.size()) + 1;
  started.set_value(count);
  std::exception_ptr failure;
  try {
    work(0, count);
  } catch (...) {
    failure = std::current_exception();
  }
  for (std::future<void>& other : others) {
    try {
      other.get();
    } catch (...) {
      if (!failure) failure = std::current_exception();
    }
  }
  if (failure) std::rethrow_exception(failure);
}

}  // namespace tarvolin
