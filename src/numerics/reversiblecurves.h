#pragma once
// The curves of a configuration whose points could have been digitized from
// the wrong end, for the data check to try each reversed: every run of
// curve sliders where each slides between the one before and the one after
// it (CurveSlider), as a TPS curve's points or a sliders file's chain of
// semilandmarks between two landmarks give them.
//
// sliders: the sliders of the data set (only the curve sliders count).
// semilandmark: k flags, true for points the data file marks as
//   semilandmarks (a TPS curve's ends among them); may be empty.
// Returns each run's points (from 0) in order, the runs in the order of
// their first slider. A run's two ends (the point before its first slider
// and after its last) belong to it when they are semilandmarks: a TPS curve
// is reversed whole, while the landmarks a chain of sliders runs between
// stay where they are. A run of fewer than 2 points has nothing to reverse
// and is left out.
//
// Example:
//   reversiblecurves(curvesliders({5}, 12), flags)  // {{7, 8, 9, 10, 11}}
//   reversiblecurves({{{2, 3, 4}, {3, 4, 5}}}, {})   // {{3, 4}}

#include <vector>

#include "numerics/sliders.h"

namespace tarvolin {

std::vector<std::vector<int>> reversiblecurves(const Sliders& sliders,
                                               const std::vector<bool>& semilandmark);

}  // namespace tarvolin
