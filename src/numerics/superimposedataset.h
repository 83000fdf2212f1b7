#pragma once
// Superimposes a landmark data set and keeps its size column.
//
// data: N x (dims k + 1), X1 Y1 Z1 ... Xk Yk Zk and the size column for 3D
//       data, X1 Y1 ... Xk Yk and the size column for 2D data (taken by
//       value: pass it with std::move where it is no longer needed, so that
//       its memory is given back before the fit).
// dims: 3, or 2 for flat data.
// Returns the consensus (k x dims) and the data set rebuilt from the
// superimposed configurations with the size column carried over unchanged:
// the superimposition of getpproc3 (getpproc2D for 2D data) done in the
// data set's own memory, a few specimens at a time, with the very same
// arithmetic: the data set is not held twice. For 3D data `stack` holds the
// superimposed configurations (k x 3 x N) unless withStack is false; for 2D
// data it is left empty (vertxy2D(result.data) gives them). Loading a data
// set and standardizing it both go this way.
// rounds: exactly three rounds by default, as the standardization is
// defined, or rounds until the mean shape no longer changes (gparounds.h);
// `fit` reports what was done. A converging fit that reaches maxRounds is
// returned all the same, with fit.converged false: the caller decides.
// With rounds.slide, the semilandmarks slide and the fit is slidegpa's
// (slidegpa.h), which throws SlideError for a specimen that cannot slide;
// rounds.onRound is told of its rounds, rounds.onSlid given its report,
// and `unslid` holds the specimens as they stood before they slid, moved
// with them (N x dims k, see slidegpa.h; empty for a fit that did not
// slide).
// notes: where the self-check of each rotation writes (partialprocrustes3a).
// Throws std::invalid_argument when dims is neither 2 nor 3, or for a
// converging fit with a negative tolerance or fewer than one round.
//
// Example:
//   SuperimposedDataSet s = superimposedataset(dload("skulls.txt"), notes);
//   // s.data.col(3k) equals the file's last column
//   SuperimposedDataSet flat = superimposedataset(wings, notes, 2);   // N x (2k + 1)
//   SuperimposedDataSet gpa = superimposedataset(data, notes, 3, false, GpaRounds{.converge =
//   true});
//   // gpa.fit.converged, gpa.fit.rounds, gpa.fit.lastChange <= 1e-10

#include <Eigen/Core>

#include "core/textsink.h"
#include "landmarks/configstack.h"
#include "numerics/gparounds.h"

namespace tarvolin {

struct SuperimposedDataSet {
  Eigen::MatrixXd data;
  ConfigStack stack;
  Eigen::MatrixXd mean;
  GpaReport fit;
  Eigen::MatrixXd unslid;
};

SuperimposedDataSet superimposedataset(Eigen::MatrixXd data, const TextSink& notes, int dims = 3,
                                       bool withStack = true, const GpaRounds& rounds = {});

}  // namespace tarvolin
