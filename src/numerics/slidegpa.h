#pragma once
// The superimposition of a data set whose semilandmarks slide.
//
// data:  N x (d k + 1), one specimen per row (X1 Y1 [Z1] ... and the size
//        column last, which is left as it is), superimposed in place.
// dims:  d, 2 or 3.
// slide: the points that slide, the criterion, the rounds, the tolerance,
//        and whether to project onto the tangent space.
// reference: set to the mean shape R the specimens were last fitted onto
//        (k x d).
//
// The steps of the default order (slide.order reference), that of the
// field's reference analysis:
//   1. each specimen is centred and scaled to centroid size 1 (the only
//      time the specimens are centred or scaled) and turned about the
//      origin onto the first specimen by a proper rotation; R = their plain
//      mean, not rescaled; s_old = N |R|^2;
//   2. at most slide.maxRounds rounds (at least one): every specimen slides
//      against R (slidestep.h; the bending-energy matrix of R is made once
//      a round); s = N |mean of the slid specimens|^2; each slid specimen is
//      turned about the origin onto R / centroid size of R by a proper
//      rotation, not centred or scaled again; R = the mean of the turned
//      specimens divided by its centroid size; the rounds stop when
//      |s_old - s| <= slide.tolerance; s_old = s;
// The steps of the refit order, which converges where the default order
// lets the specimens drift in size:
//   1. each specimen is centred, scaled to centroid size 1 and turned onto
//      the first specimen; then, for at most 200 rounds, R = their mean
//      scaled to centroid size 1 and every specimen is turned onto R, until
//      s = the summed squared distances of the specimens to R changes by at
//      most 1e-12; s_old = s;
//   2. at most slide.maxRounds rounds (at least one): every specimen slides
//      against R, is centred, scaled to centroid size 1 and turned onto R
//      once; R = the mean of the specimens scaled to centroid size 1; s =
//      the summed squared distances of the specimens to R; the rounds stop
//      when |s_old - s| <= slide.tolerance; s_old = s.
// Then, in either order:
//   3. the specimens stay as slid and turned; with slide.project each
//      (a vector x of d k coordinates) is projected onto the tangent space
//      at the mean shape m = R / |R|: x (I - m m') + m.
// The specimens slide and turn on every core, each on its own, so the
// result is the same bits on any number of cores; by bending energy, on as
// many cores as 1 GB holds their systems (directions x directions each).
//
// onRound, where set, is told how far step 2 has got, on the calling
// thread: within a round, once `every` has passed since it was last told,
// how many specimens have slid (the specimens it slid itself, counted as
// they are done, with those the other cores have done by then); and after
// each round, the round's change |s_old - s|.
// unslid, where given, is set to the specimens as they stood before their
// first slide, moved, scaled, turned (and projected) with them, one row
// each as in data without the size column: their fixed landmarks are where
// the slid specimens' are, their semilandmarks where they were before they
// slid.
//
// Returns the rounds done, the last change |s_old - s|, whether it met the
// tolerance (converged), with slid and the order set, and the semilandmarks
// that slid astray (slidestrays.h: each specimen as it ends step 2 against
// where its points stood before the first slide, moved and turned with it;
// surface points held to the spacing of R's). Throws std::invalid_argument
// for sliders that do not fit the data (a number outside 0..k-1, a point that
// slides twice or towards itself, surface points in 2D) or rounds that make
// no sense (fewer than one, a tolerance below 0); SlideError, naming the
// specimen by its row ("specimen 3: ..."), for a specimen that cannot slide.
//
// Example:
//   Sliding slide;
//   slide.sliders = curvesliders({12, 12}, 30);
//   Eigen::MatrixXd mean;
//   GpaReport fit = slidegpa(rows, mean, 2, slide);
//   // fit.rounds <= 9, fit.lastChange <= 1e-4 when fit.converged

#include <Eigen/Core>
#include <chrono>

#include "numerics/gparounds.h"
#include "landmarks/sliders.h"

namespace tarvolin {

// How often a round tells how many specimens have slid.
inline constexpr std::chrono::steady_clock::duration kSlideProgressEvery =
    std::chrono::milliseconds(500);

GpaReport slidegpa(Eigen::MatrixXd& data, Eigen::MatrixXd& reference, int dims,
                   const Sliding& slide, const SlideRoundHook& onRound = nullptr,
                   Eigen::MatrixXd* unslid = nullptr,
                   std::chrono::steady_clock::duration every = kSlideProgressEvery);

}  // namespace tarvolin
