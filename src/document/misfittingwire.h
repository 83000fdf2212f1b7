#pragma once
// The first wire of a wireframe that does not fit a configuration of k
// landmarks, or nothing when every wire fits.
//
// wirelist: one row per wire; columns 2 and 3 hold the numbers of the
//           landmarks it joins (column 1 is not read).
// k:        the number of landmarks.
// A wire fits when both its landmark numbers are whole numbers from 1 to k.
// Returns the wire's row (from 0) and the first of its numbers that does not
// fit. The wire list must have at least three columns when it has rows.
//
// Example:
//   misfittingwire([1 1 2; 2 2 99], 14)  -> {row 1, landmark 99}

#include <Eigen/Core>
#include <optional>

namespace tarvolin {

struct MisfittingWire {
  Eigen::Index row = 0;
  double landmark = 0;
};

std::optional<MisfittingWire> misfittingwire(const Eigen::MatrixXd& wirelist, Eigen::Index k);

}  // namespace tarvolin
