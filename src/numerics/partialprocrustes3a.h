#pragma once
// Fits one configuration onto a reference: centre, scale to centroid size 1,
// then turn by the rotation R minimising |subject * R - reference|^2.
//
// reference: k x 3, used as it is (in this system a consensus, centred).
// subject:   k x 3, same landmarks; the caller's matrix is not changed.
// Returns the fitted subject, k x 3: centroid at the origin, centroid size 1,
// the subject's shape turned as close to the reference as a rotation brings it.
// Self-check: where (R^T R)(1,1) rounded to five decimals is not 1 (which
// happens only for input that is not finite, such as a subject whose
// landmarks all coincide), `notes` gets stemp "Error in rotation", roto
// and temp; the result is returned all the same.
//
// partialprocrustes3aInPlace does the same on a page of a stack, in place.
//
// Example:
//   Eigen::MatrixXd fitted = partialprocrustes3a(mean, specimen);

#include <Eigen/Core>

#include "core/textsink.h"

namespace tarvolin {

Eigen::MatrixXd partialprocrustes3a(const Eigen::Ref<const Eigen::MatrixXd>& reference,
                                    const Eigen::Ref<const Eigen::MatrixXd>& subject,
                                    const TextSink& notes);

void partialprocrustes3aInPlace(const Eigen::Ref<const Eigen::MatrixXd>& reference,
                                Eigen::Ref<Eigen::MatrixXd> subject, const TextSink& notes);

}  // namespace tarvolin
