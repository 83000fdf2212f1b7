#pragma once
// Fits every specimen of a stack onto a given reference, in one pass.
//
// reference: k x 3 consensus, used as it is (not recomputed).
// data:      k x 3 x N stack.
// Returns the stack of fitted specimens (each centred, centroid size 1 and
// rotated onto the reference by partialprocrustes3a, its self-check
// written to `notes`), in the order of data.
//
// Example:
//   ConfigStack onNewMean = getpprocon3(smean, DATAV, consoleSink());

#include <Eigen/Core>

#include "core/textsink.h"
#include "landmarks/configstack.h"

namespace tarvolin {

ConfigStack getpprocon3(const Eigen::Ref<const Eigen::MatrixXd>& reference, const ConfigStack& data,
                        const TextSink& notes);

}  // namespace tarvolin
