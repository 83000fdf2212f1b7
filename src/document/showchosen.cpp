#include "document/showchosen.h"

#include <stdexcept>

namespace tarvolin {

void showchosen(Graphics& graphics, const Eigen::MatrixXd& data, Eigen::Index specimen, int dims,
                std::string_view id) {
  if (specimen < 0 || specimen >= data.rows() || (dims != 2 && dims != 3)) {
    throw std::invalid_argument("showchosen: no such specimen");
  }
  const Handle axes = graphics.gca();
  graphics.removePlotted(axes, PlotRole::chosen);
  graphics.hold(true);
  const Eigen::Index k = (data.cols() - 1) / dims;
  const auto coordinate = [&](int axis) {
    Eigen::RowVectorXd values(k);
    for (Eigen::Index j = 0; j < k; ++j) values(j) = data(specimen, dims * j + axis);
    return values;
  };
  if (dims == 3) {
    graphics.plot3(coordinate(0), coordinate(1), coordinate(2), "ro", id, PlotRole::chosen);
  } else {
    // One object a point, as the 2D plot draws its specimens.
    for (Eigen::Index j = 0; j < k; ++j) {
      graphics.plot(PlotData::one(data(specimen, 2 * j)), PlotData::one(data(specimen, 2 * j + 1)),
                    "ro", 6, id, PlotRole::chosen);
    }
  }
}

}  // namespace tarvolin
