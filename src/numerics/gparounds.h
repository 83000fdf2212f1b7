#pragma once
// How many rounds the generalized Procrustes superimposition does, and what
// it did.
//
// GpaRounds: by default (converge false) exactly three rounds, as the
// standardization is defined. With converge, the rounds of fitting every
// specimen onto the mean shape and taking the new mean go on until the
// change of the mean shape is at most `tolerance`, for at most maxRounds
// rounds. The change of a round is the Frobenius norm of the difference
// between the new mean shape and the one before it, both k x d, centred and
// of centroid size 1 (the square root of the summed squared differences of
// all coordinates).
//
// slide: when set, the points it names slide (sliders.h) and the fit is the
// one of sliding semilandmarks, with rounds of its own; converge, tolerance
// and maxRounds are then not used.
//
// GpaReport: the rounds done, the change of the last one, whether a
// converging fit met its tolerance, and whether the fit was the default one
// (asDefined: converged is then false and means nothing). For a fit that
// slid semilandmarks, `slid` is set and the change is that of N times the
// squared norm of the mean shape.
//
// gpareporttext writes a report for the user, numbers in the C locale:
//   default:        "3 rounds, as the standardization is defined"
//   converged:      "converged in 9 rounds, last change 3.2e-11"
//   not converged:  "did not converge in 1000 rounds, last change 4.1e-07"
//   slid:           "semilandmarks slid by bending energy, converged in 4 rounds,
//                    last change 3.2e-05" (or "by Procrustes distance", "did
//                    not converge in 9 rounds")
// (the change with two significant digits, as printf's "%.2g" writes it).
//
// Example:
//   SuperimposedDataSet s = superimposedataset(data, 3, false, GpaRounds{.converge = true});
//   console().echo("fit", gpareporttext(s.fit));

#include <memory>
#include <string>

#include "numerics/sliders.h"

namespace tarvolin {

struct GpaRounds {
  bool converge = false;
  double tolerance = 1e-10;
  int maxRounds = 1000;
  std::shared_ptr<const Sliding> slide = nullptr;
};

struct GpaReport {
  int rounds = 3;
  double lastChange = 0;
  bool converged = false;
  bool asDefined = true;
  bool slid = false;
  SlideCriterion criterion = SlideCriterion::bendingEnergy;
};

std::string gpareporttext(const GpaReport& report);

}  // namespace tarvolin
