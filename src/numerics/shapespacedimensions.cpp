#include "numerics/shapespacedimensions.h"

#include <algorithm>

namespace tarvolin {

Eigen::Index shapespacedimensions(int dims, Eigen::Index landmarks, const Sliders* sliders,
                                  bool standardized) {
  Eigen::Index free = dims * landmarks - dims - 1 - dims * (dims - 1) / 2;
  if (sliders) {
    free -= static_cast<Eigen::Index>(sliders->curve.size());
    free -= 2 * static_cast<Eigen::Index>(sliders->surface.size());
  }
  if (standardized) free -= 1;
  return std::max<Eigen::Index>(free, 0);
}

}  // namespace tarvolin
