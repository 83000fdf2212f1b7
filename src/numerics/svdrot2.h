#pragma once
// The rotation R minimising |subject * R - reference|^2 over proper rotations.
//
// reference: k x 3 configuration to turn onto.
// subject:   k x 3 configuration to turn (same landmarks).
// Returns the 3 x 3 rotation R = U V^T from the singular value decomposition
// subject^T * reference = U S V^T. Where U V^T would be a reflection
// (determinant -1) the column of U that belongs to the smallest singular
// value changes sign first, so R is always a proper rotation: a specimen is
// never turned into its mirror image. Input that is not finite gives a
// matrix of NaN.
//
// Example:
//   Eigen::Matrix3d R = svdrot2(reference, subject);   // R^T R = I, det R = +1
//   Eigen::MatrixXd fitted = subject * R;

#include <Eigen/Core>

namespace tarvolin {

Eigen::Matrix3d svdrot2(const Eigen::Ref<const Eigen::MatrixXd>& reference,
                        const Eigen::Ref<const Eigen::MatrixXd>& subject);

}  // namespace tarvolin
