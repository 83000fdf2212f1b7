#pragma once
// The thin-plate spline that maps one configuration of landmarks in the
// plane onto another (Bookstein 1989): the interpolating function of least
// bending energy, f(p) = a + A p + sum_i w_i U(|p - P_i|), with
// U(r) = r^2 log r^2 (U(0) = 0), taking each landmark P_i of `from` exactly
// onto the same landmark of `to`. Used to draw a grid over the mean shape
// deformed as it is into a target shape.
//
// from, to: k x 2, k >= 3, the same landmarks. The system is solved, and
// given up on, as the bending energy's is (tpssolve): a TpsWarpError, whose
// text is "tpswarp2d: " and why, and whose why() is the reason alone, when
// the landmarks of `from` all lie on one line or two of them lie at one
// place (or they are not finite, too few, or not as many as those of `to`).
//
// Landmarks of `from` that are not at one place but nearly so (closer than
// kTpsUnstable times its centroid size: the two sides of a skull seen from
// the side) are listed in `unstable`: the spline bends the plane sharply
// between them as soon as their targets part, and a grid there shows that
// bend rather than the shape change.
//
// Example:
//   TpsWarp2D warp = tpswarp2d(mean, target);
//   Eigen::MatrixX2d moved = warp.apply(gridPoints);   // rows of (x, y)

#include <Eigen/Core>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace tarvolin {

inline constexpr double kTpsUnstable = 0.02;

class TpsWarpError : public std::invalid_argument {
 public:
  explicit TpsWarpError(const std::string& why)
      : std::invalid_argument("tpswarp2d: " + why), why_(why) {}
  const std::string& why() const { return why_; }

 private:
  std::string why_;
};

struct TpsWarp2D {
  Eigen::MatrixX2d landmarks;          // `from`
  Eigen::MatrixX2d weights;            // k x 2: w_i
  Eigen::Matrix<double, 3, 2> affine;  // rows: a, then A' (x and y)
  // Pairs of landmarks (0-based, the smaller first, in order) nearly at one place.
  std::vector<std::pair<Eigen::Index, Eigen::Index>> unstable;
  Eigen::MatrixX2d apply(const Eigen::Ref<const Eigen::MatrixX2d>& points) const;
};

TpsWarp2D tpswarp2d(const Eigen::Ref<const Eigen::MatrixX2d>& from,
                    const Eigen::Ref<const Eigen::MatrixX2d>& to);

}  // namespace tarvolin
