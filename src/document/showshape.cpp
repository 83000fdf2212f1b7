#include "document/showshape.h"

namespace tarvolin {

double showshape(Graphics& graphics, const Eigen::MatrixXd& x, std::string_view xform,
                 std::string_view name, PlotRole role, const std::vector<bool>& semilandmark) {
  constexpr double kMarker = 3;
  graphics.hold(true);
  const Eigen::Index points = (x.cols() - 1) / 2;
  for (Eigen::Index i = 0; i < x.rows(); ++i) {
    for (Eigen::Index j = 0; j < points; ++j) {
      const bool semi = j < static_cast<Eigen::Index>(semilandmark.size()) &&
                        semilandmark[static_cast<size_t>(j)];
      graphics.plot(PlotData::one(x(i, 2 * j)), PlotData::one(x(i, 2 * j + 1)), xform,
                    semi ? kMarker * kSemilandmarkMarker : kMarker, name, role);
    }
  }
  graphics.axis("auto");
  graphics.axis("equal");
  return 1;
}

}  // namespace tarvolin
