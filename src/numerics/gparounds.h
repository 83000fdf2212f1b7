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
// and maxRounds are then not used. onRound, where set, is told how far the
// sliding got (SlideProgress), for a long fit to show that it is alive:
// within a round as the specimens slide, and at the end of each round;
// onSlid is given the report once the semilandmarks have slid.
//
// GpaReport: the rounds done, the change of the last one, whether a
// converging fit met its tolerance, and whether the fit was the default one
// (asDefined: converged is then false and means nothing). For a fit that
// slid semilandmarks, `slid` is set, `order` says which order of rounds it
// followed, and the change is that of N times the squared norm of the mean
// shape (the default order) or of the summed squared distances of the
// specimens to their mean (refit); `strays` lists the semilandmarks that
// ended where no curve or surface would have them (slidestrays.h).
//
// gpareporttext writes a report for the user, numbers in the C locale:
//   default:        "3 rounds, as the standardization is defined"
//   converged:      "converged in 9 rounds, last change 3.2e-11"
//   not converged:  "did not converge in 1000 rounds, last change 4.1e-07"
//   slid:           "semilandmarks slid by bending energy, default order,
//                    converged in 4 rounds, last change 3.2e-05" (or "by
//                    Procrustes distance", "refit order")
//   slid, not converged: "semilandmarks slid by bending energy, refit order,
//                    did not converge in 9 rounds (last change 0.014): the
//                    result of the last round is kept, ..." and what that
//                    means: its semilandmarks had not come to rest, and how
//                    they would (options on the command line, the choices
//                    of the window with GpaReportFor::window)
// (the change with two significant digits, as printf's "%.2g" writes it).
//
// Example:
//   SuperimposedDataSet s = superimposedataset(data, 3, false, GpaRounds{.converge = true});
//   console().echo("fit", gpareporttext(s.fit));

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "landmarks/sliders.h"

namespace tarvolin {

struct GpaReport;

// How far a fit that slides semilandmarks has got: in round `round` of at
// most maxRounds, `slid` of the `specimens` have slid; once the round is
// over, `change` holds its change (and slid == specimens).
struct SlideProgress {
  int round = 1;
  int maxRounds = 1;
  long slid = 0;
  long specimens = 0;
  std::optional<double> change = std::nullopt;
};

using SlideRoundHook = std::function<void(const SlideProgress&)>;

struct GpaRounds {
  bool converge = false;
  double tolerance = 1e-10;
  int maxRounds = 1000;
  std::shared_ptr<const Sliding> slide = nullptr;
  SlideRoundHook onRound = nullptr;
  std::function<void(const GpaReport&)> onSlid = nullptr;
};

// A semilandmark that slid where its curve or surface would not have it:
// past the neighbour before or after it on its curve, off its curve
// (farther from the curve than the spacing of its points), or over its
// surface farther than the spacing of the surface points. `row` numbers
// the specimen and `point` the landmark from 0; `distance` (in centroid
// sizes) is how far off its curve, or how far over the surface, it went,
// `spacing` the spacing it was held to; `neighbour` the landmark it slid
// past.
enum class StrayKind { pastBefore, pastAfter, offCurve, overSurface };
struct SlideStray {
  long row = 0;
  int point = 0;
  StrayKind kind = StrayKind::offCurve;
  double distance = 0;
  double spacing = 0;
  int neighbour = 0;
  bool operator==(const SlideStray&) const = default;
};

struct GpaReport {
  int rounds = 3;
  double lastChange = 0;
  bool converged = false;
  bool asDefined = true;
  bool slid = false;
  SlideCriterion criterion = SlideCriterion::bendingEnergy;
  SlideOrder order = SlideOrder::reference;
  std::vector<SlideStray> strays = {};
};

// Who reads the report: a fit that did not settle is told how it would in
// the words of the command line's options, or of the windows' choices.
enum class GpaReportFor { commandLine, window };

std::string gpareporttext(const GpaReport& report, GpaReportFor reader = GpaReportFor::commandLine);

// How far a fit that slides has got, at the end of a round and within one:
//   "sliding: round 3 of at most 9, change 0.0123"
//   "sliding: round 3 of at most 9, 12 of 40 specimens slid"
// (the change with three significant digits); for a window's status line,
// a sentence that goes on: "Sliding: round 3 of at most 9, change 0.0123 ...".
std::string slideroundtext(const SlideProgress& progress,
                           GpaReportFor reader = GpaReportFor::commandLine);

}  // namespace tarvolin
