#pragma once
// Runs a piece of work as two lanes at once, one on each of two cores, where
// the work is large enough to gain from it: a large data set is read from
// memory twice as fast by two cores as by one.
//
// work(lane, lanes) does its share: lanes is 2 when the lanes run at once
// (lane 0 on the calling thread, lane 1 on another), 1 when lane 0 does all
// of it alone (a small piece of work, one core, or no thread to be had).
// Both lanes have finished when ontwocores returns; an exception of either
// is thrown from it, lane 0's first.
//
// Example:
//   ontwocores(data.size() >= kLarge, [&](int lane, int lanes) {
//     for (Index block = lane; block < blocks; block += lanes) check(block);
//   });

#include <future>
#include <system_error>
#include <thread>

namespace tarvolin {

template <class Work>
void ontwocores(bool large, const Work& work) {
  std::future<void> other;
  if (large && std::thread::hardware_concurrency() > 1) {
    try {
      other = std::async(std::launch::async, [&work] { work(1, 2); });
    } catch (const std::system_error&) {
      // No second thread to be had: one core does it all.
    }
  }
  if (!other.valid()) {
    work(0, 1);
    return;
  }
  try {
    work(0, 2);
  } catch (...) {
    other.wait();
    throw;
  }
  other.get();
}

}  // namespace tarvolin
