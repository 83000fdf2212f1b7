#pragma once
// Generalized Procrustes superimposition of a configuration stack.
//
// data: k x 3 x N stack (taken by value: pass it with std::move where the
//       caller no longer needs it, and the fit works in its memory).
// Returns reference3, the consensus (k x 3, centred, centroid size 1), and
// sdata, every specimen fitted onto it (centred, size 1, rotated), in the
// order of data.
//
// The first reference is the sum of the raw configurations, centred and
// scaled to size 1. Where that sum has no size (the configurations cancel
// out, or what is left of them is within the sum's rounding, N eps times the
// summed norms of the raw configurations), it is instead the first specimen
// that has a size, centred and scaled to size 1. Then exactly three rounds
// follow, with no convergence test: every specimen, as the round before left
// it, is fitted onto the reference with partialprocrustes3a; the mean of the
// fitted specimens, scaled to size 1, is the next reference. A stack of one
// specimen is only centred and scaled, not rotated. The self-check of each
// rotation writes to `notes` (partialprocrustes3a).
//
// Example:
//   Superimposition s = getpproc3(vertxy3D(data), consoleSink());
//   // s.reference3: mean shape; s.sdata.page(i): specimen i superimposed

#include <Eigen/Core>

#include "core/textsink.h"
#include "landmarks/configstack.h"

namespace tarvolin {

struct Superimposition {
  Eigen::MatrixXd reference3;
  ConfigStack sdata;
};

Superimposition getpproc3(ConfigStack data, const TextSink& notes);

}  // namespace tarvolin
