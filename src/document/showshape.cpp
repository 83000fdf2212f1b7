#include "document/showshape.h"

namespace tarvolin {

double showshape(Graphics& graphics, const Eigen::MatrixXd& x, std::string_view xform,
                 std::string_view name, PlotRole role) {
  graphics.hold(true);
  const Eigen::Index points = (x.cols() - 1) / 2;
  for (Eigen::Index i = 0; i < x.rows(); ++i) {
    for (Eigen::Index j = 0; j < points; ++j) {
      graphics.plot(PlotData::one(x(i, 2 * j)), PlotData::one(x(i, 2 * j + 1)), xform, 3, name,
                    role);
    }
  }
  graphics.axis("auto");
  graphics.axis("equal");
  return 1;
}

}  // namespace tarvolin
