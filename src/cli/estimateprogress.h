#pragma once
// Shows on `err` how far a long estimation of missing landmarks has got: a
// line after two seconds, and every two seconds from then on.
//
// Example:
//   resolvemissing(set, MissingPolicy::estimate, consoleSink(),
//                  estimateprogress(std::cerr));
//   // tarvolin-cli: estimating missing landmarks: 120 of 400 specimens done

#include <ostream>

#include "numerics/estimatemissing.h"

namespace tarvolin {

EstimateProgress estimateprogress(std::ostream& err);

}  // namespace tarvolin
