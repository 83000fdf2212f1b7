#include "document/showchosen.h"

#include <limits>
#include <stdexcept>

#include "document/legendnames.h"

namespace tarvolin {

void showchosen(Graphics& graphics, const Eigen::MatrixXd& data, Eigen::Index specimen, int dims,
                std::string_view id) {
  if (specimen < 0 || specimen >= data.rows() || (dims != 2 && dims != 3)) {
    throw std::invalid_argument("showchosen: no such specimen");
  }
  const Handle axes = graphics.gca();
  graphics.removePlotted(axes, PlotRole::chosenLinks);
  graphics.removePlotted(axes, PlotRole::chosen);
  graphics.hold(true);
  const Eigen::Index k = (data.cols() - 1) / dims;
  const auto coordinate = [&](int axis) {
    Eigen::RowVectorXd values(k);
    for (Eigen::Index j = 0; j < k; ++j) values(j) = data(specimen, dims * j + axis);
    return values;
  };
  // Each link from the mean's landmark to the specimen's, a gap after it.
  const auto links = [&](int axis) {
    Eigen::RowVectorXd values(3 * k);
    for (Eigen::Index j = 0; j < k; ++j) {
      const Eigen::Index column = dims * j + axis;
      values(3 * j) = data.col(column).mean();
      values(3 * j + 1) = data(specimen, column);
      values(3 * j + 2) = std::numeric_limits<double>::quiet_NaN();
    }
    return values;
  };
  if (dims == 3) {
    graphics.plot3(links(0), links(1), links(2), "r-", kChosenLinks, PlotRole::chosenLinks);
  } else {
    graphics.plot(links(0), links(1), "r-", 6, kChosenLinks, PlotRole::chosenLinks);
  }
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
