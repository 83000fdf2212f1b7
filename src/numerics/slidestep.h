#pragma once
// One slide of the semilandmarks of a configuration against a reference.
//
// With the coordinates stacked by coordinate (all x, then all y, then all
// z) and U the matrix of the unit directions of slidedirections (one column
// per direction, non-zero only in the rows of its own point), the slid
// configuration is
//   bending energy:       T = Y - U (U' B U)^-1 U' B (Y - R)
//   Procrustes distance:  T = Y - U (U' U)^-1 U' (Y - R)
// where B is block-diagonal, one block per coordinate, each the
// bending-energy matrix L of the reference (bendingenergy.h). The first
// minimises the bending energy of the deformation from R over the positions
// the semilandmarks can take along their directions, the second the
// squared distance to R. Fixed landmarks do not move; each semilandmark
// moves only along its own directions.
//
// config:    Y, p x d, slid in place.
// reference: R, p x d.
// bending:   L (p x p) for the bending energy; not used (may be empty) for
//            the Procrustes distance.
//
// The system U' B U is solved by its Cholesky factor (of -U' B U in 3D,
// where L is of the other sign), else by a symmetric indefinite
// factorization. Throws SlideError where a curve point has no direction, or
// where the directions let the semilandmarks move without bending (the
// system is singular): a configuration with too few fixed landmarks.
//
// Example:
//   Eigen::MatrixXd L = bendingenergy(mean);
//   slidestep(specimen, mean, sliders, SlideCriterion::bendingEnergy, L);

#include <Eigen/Core>
#include <stdexcept>
#include <string>

#include "landmarks/sliders.h"

namespace tarvolin {

class SlideError : public std::runtime_error {
 public:
  explicit SlideError(const std::string& message) : std::runtime_error(message) {}
};

void slidestep(Eigen::MatrixXd& config, const Eigen::MatrixXd& reference, const Sliders& sliders,
               SlideCriterion criterion, const Eigen::MatrixXd& bending);

}  // namespace tarvolin
