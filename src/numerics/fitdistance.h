#pragma once
// The Procrustes distance of one configuration to a reference after fitting
// it there again: min over proper rotations R of |(x - c) / s * R - m|,
// with c the centroid and s the centroid size of x.
//
// reference: k x D (D = 2 or 3), used as it is (the mean shape, not
//            rescaled: the best rotation does not depend on its size).
// subject:   k x D, same landmarks; taken by value and fitted in that copy.
// Returns the root of the summed squared differences between the fitted
// subject and the reference; NaN where the subject is not finite or its
// landmarks all coincide.
// Throws std::invalid_argument when the two are not both k x 2 or k x 3.
//
// Example:
//   double d = fitdistance(mean, mirrored);   // mirrored: the specimen, X reversed

#include <Eigen/Core>

namespace tarvolin {

double fitdistance(const Eigen::Ref<const Eigen::MatrixXd>& reference, Eigen::MatrixXd subject);

}  // namespace tarvolin
