#include "document/misfittingwire.h"

#include <cmath>

namespace tarvolin {

std::optional<MisfittingWire> misfittingwire(const Eigen::MatrixXd& wirelist, Eigen::Index k) {
  for (Eigen::Index i = 0; i < wirelist.rows(); ++i) {
    for (Eigen::Index end = 1; end <= 2; ++end) {
      const double landmark = wirelist(i, end);
      if (!(landmark >= 1 && landmark <= static_cast<double>(k) &&
            landmark == std::floor(landmark))) {
        return MisfittingWire{i, landmark};
      }
    }
  }
  return std::nullopt;
}

}  // namespace tarvolin
