#pragma once
// Generalized Procrustes superimposition of a stack of flat configurations.
//
// data: k x 2 x N stack (taken by value: pass it with std::move where the
//       caller no longer needs it, and the fit works in its memory).
// Returns reference, the consensus (k x 2, centred, centroid size 1), and
// sdata, every specimen fitted onto it (centred, size 1, rotated in the
// plane, never mirrored), in the order of data.
// Throws std::invalid_argument for an empty stack.
//
// The steps are getpproc3's, in two dimensions: the first reference is the
// sum of the raw configurations, centred and scaled to size 1 (or, where
// that sum has no size, the first specimen that has one); then exactly three
// rounds with no convergence test, each fitting every specimen onto the
// reference with partialprocrustes2D and taking the mean of the fitted
// specimens, scaled to size 1, as the next reference. A stack of one
// specimen is only centred and scaled, not rotated.
//
// Example:
//   Superimposition2D s = getpproc2D(vertxy2D(data), consoleSink());
//   // s.reference: mean shape; s.sdata.page(i): specimen i superimposed

#include <Eigen/Core>

#include "core/textsink.h"
#include "landmarks/configstack.h"

namespace tarvolin {

struct Superimposition2D {
  Eigen::MatrixXd reference;
  ConfigStack2D sdata;
};

Superimposition2D getpproc2D(ConfigStack2D data, const TextSink& notes);

}  // namespace tarvolin
