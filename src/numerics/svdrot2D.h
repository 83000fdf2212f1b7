#pragma once
// The rotation R minimising |subject * R - reference|^2 over proper rotations
// of the plane.
//
// reference: k x 2 configuration to turn onto.
// subject:   k x 2 configuration to turn (same landmarks).
// Returns the 2 x 2 rotation R = U V^T from the singular value decomposition
// subject^T * reference = U S V^T, computed as svdrot2 does in 3D. Where
// U V^T would be a reflection (determinant -1) the column of U that belongs
// to the smallest singular value changes sign first, so R is always a
// rotation: a flat specimen is never turned into its mirror image. Input
// that is not finite gives a matrix of NaN.
// Throws std::invalid_argument when the two are not both k x 2.
//
// Example:
//   Eigen::Matrix2d R = svdrot2D(reference, subject);   // R^T R = I, det R = +1
//   Eigen::MatrixXd fitted = subject * R;

#include <Eigen/Core>

namespace tarvolin {

Eigen::Matrix2d svdrot2D(const Eigen::Ref<const Eigen::MatrixXd>& reference,
                         const Eigen::Ref<const Eigen::MatrixXd>& subject);

}  // namespace tarvolin
