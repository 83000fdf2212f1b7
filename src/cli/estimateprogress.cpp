#include "cli/estimateprogress.h"

#include <chrono>

namespace tarvolin {

EstimateProgress estimateprogress(std::ostream& err) {
  auto next = std::chrono::steady_clock::now() + std::chrono::seconds(2);
  return [&err, next](size_t done, size_t total) mutable {
    const auto now = std::chrono::steady_clock::now();
    if (now < next || done == total) return;
    next = now + std::chrono::seconds(2);
    err << "tarvolin-cli: estimating missing landmarks: " << done << " of " << total
        << " specimens done\n"
        << std::flush;
  };
}

}  // namespace tarvolin
