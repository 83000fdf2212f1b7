#pragma once
// The curves of a configuration whose points could have been digitized from
// the wrong end, for the data check to try each reversed: every run of
// curve sliders where each slides between the one before and the one after
// it (CurveSlider), as a TPS curve's points or a sliders file's chain of
// semilandmarks give them.
//
// Returns each run's points (from 0) in order, its two ends included (the
// point before its first slider and the one after its last), the runs in
// the order of their first slider. Whether the ends were digitized with
// the curve (a TPS curve's) or are landmarks it runs between is not known
// here: the check tries the curve reversed with and without them.
//
// Example:
//   reversiblecurves(curvesliders({5}, 12))        // {{7, 8, 9, 10, 11}}
//   reversiblecurves({{{2, 3, 4}, {3, 4, 5}, {8, 9, 10}}})   // {{2, 3, 4, 5}, {8, 9, 10}}

#include <vector>

#include "landmarks/sliders.h"

namespace tarvolin {

std::vector<std::vector<int>> reversiblecurves(const Sliders& sliders);

}  // namespace tarvolin
