#pragma once
// The generalized Procrustes superimposition, for the pages of a stack
// (stackpages.h) and the rows of a data set (rowpages.h), D = 2 or 3.
//
// Generalized Procrustes superimposition of the specimens of `data` in
// their own memory: the start reference, then rounds of fitting every
// specimen onto the reference and taking their mean, scaled to size 1, as
// the next one; exactly three by default, else as `rounds` says. The
// specimens are left as the last round fitted them, the reference is the
// mean of those fits at size 1. A converging fit whose change is not finite
// stops there, not converged. A stack of one specimen is only centred and
// scaled: no round, change 0 (converged, with converge).
// Throws std::invalid_argument for a tolerance that is negative or not a
// number, or fewer than one round allowed.
//
// Example:
//   GpaReport done = superimposePages<3>(pages, mean, "getpproc3", notes,
//                                      Rounds{.converge = true});

#include <Eigen/Core>

#include "core/textsink.h"
#include "numerics/procrustesfit.h"

namespace tarvolin::procrustesfit {

template <int D, class Pages>
GpaReport superimposePages(Pages& data, Eigen::MatrixXd& reference, const char* caller,
                           const TextSink& notes, const Rounds& rounds);

}  // namespace tarvolin::procrustesfit
