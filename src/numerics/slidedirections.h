#pragma once
// The directions the semilandmarks of a configuration slide in.
//
// config: p points, p x d (d = 2 or 3); sliders: the points that slide.
// Returns one row of `unit` per direction, with the point it belongs to in
// `point` (numbers from 0): first a curve point's direction, in the order of
// sliders.curve, (Y[after] - Y[before]) / |Y[after] - Y[before]|; then a
// surface point's two, in the order of sliders.surface: the first two
// principal axes (unit eigenvectors of the two largest eigenvalues of the
// scatter matrix) of the centred set of that point and its 4 nearest
// neighbours among all p points (fewer where p < 5; of two at the same
// distance, the one numbered first). A direction's sign is of no account:
// the slide does not depend on it.
//
// Throws SlideError (slidestep.h) for a curve point whose points before and
// after lie at one place, so that it has no direction.
//
// Example:
//   SlideDirections u = slidedirections(config, sliders);
//   u.unit.row(0).norm() == 1;   u.point[0] == sliders.curve[0].point

#include <Eigen/Core>
#include <vector>

#include "landmarks/sliders.h"

namespace tarvolin {

struct SlideDirections {
  std::vector<int> point;
  Eigen::MatrixXd unit;  // directions x d
};

SlideDirections slidedirections(const Eigen::MatrixXd& config, const Sliders& sliders);

}  // namespace tarvolin
