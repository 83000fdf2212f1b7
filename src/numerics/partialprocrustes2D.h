#pragma once
// Fits one flat configuration onto a reference: centre, scale to centroid
// size 1, then turn by the rotation R minimising |subject * R - reference|^2
// (svdrot2D). The 2D counterpart of partialprocrustes3a, by the same steps.
//
// reference: k x 2, used as it is (in this system a consensus, centred).
// subject:   k x 2, same landmarks; the caller's matrix is not changed.
// Returns the fitted subject, k x 2: centroid at the origin, centroid size 1,
// turned in the plane as close to the reference as a rotation brings it
// (never mirrored).
// Self-check: where (R^T R)(1,1) rounded to five decimals is not 1 (input
// that is not finite, such as a subject whose landmarks all coincide),
// `notes` gets stemp "Error in rotation", roto and temp; the result is
// returned all the same.
// Throws std::invalid_argument when the two are not both k x 2.
//
// partialprocrustes2DInPlace does the same on a page of a stack, in place.
//
// Example:
//   Eigen::MatrixXd fitted = partialprocrustes2D(mean, specimen);

#include <Eigen/Core>

#include "core/textsink.h"

namespace tarvolin {

Eigen::MatrixXd partialprocrustes2D(const Eigen::Ref<const Eigen::MatrixXd>& reference,
                                    const Eigen::Ref<const Eigen::MatrixXd>& subject,
                                    const TextSink& notes);

void partialprocrustes2DInPlace(const Eigen::Ref<const Eigen::MatrixXd>& reference,
                                Eigen::Ref<Eigen::MatrixXd> subject, const TextSink& notes);

}  // namespace tarvolin
