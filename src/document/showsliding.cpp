#include "document/showsliding.h"

#include <limits>
#include <stdexcept>

#include "document/cla.h"
#include "document/legendnames.h"
#include "document/showcurves.h"

namespace tarvolin {
namespace {

using Eigen::Index;

// Markers of the plots' usual size; the dots after sliding larger, a dot
// being drawn at a third of its size.
constexpr double kMarkerSize = 6;
constexpr double kDotSize = 15;

void draw(Graphics& graphics, const Eigen::MatrixXd& points, const char* style,
          std::string_view name, PlotRole role, double size = kMarkerSize) {
  const Eigen::RowVectorXd x = points.col(0).transpose(), y = points.col(1).transpose();
  if (points.cols() == 3) {
    const Handle h = graphics.plot3(x, y, points.col(2).transpose(), style, name, role);
    graphics.set(h, "MarkerSize", size);
  } else {
    graphics.plot(x, y, style, size, name, role);
  }
}

}  // namespace

void showsliding(Graphics& graphics, const Eigen::MatrixXd& before, const Eigen::MatrixXd& after,
                 const std::vector<bool>& slides, const std::vector<CurveSlider>& curve) {
  const Index k = after.rows(), d = after.cols();
  if ((d != 2 && d != 3) || before.rows() != k || before.cols() != d ||
      slides.size() != static_cast<size_t>(k)) {
    throw std::invalid_argument("showsliding: the specimen before and after sliding differ");
  }
  cla(graphics);
  showcurves(graphics, after, curve);
  Index sliding = 0;
  for (const bool s : slides) sliding += s ? 1 : 0;
  Eigen::MatrixXd from(sliding, d), links(3 * sliding, d);
  Index at = 0;
  for (Index j = 0; j < k; ++j) {
    if (!slides[static_cast<size_t>(j)]) continue;
    from.row(at) = before.row(j);
    links.row(3 * at) = before.row(j);
    links.row(3 * at + 1) = after.row(j);
    links.row(3 * at + 2).setConstant(std::numeric_limits<double>::quiet_NaN());
    ++at;
  }
  if (sliding > 0) {
    draw(graphics, links, "r-", "", PlotRole::slideLinks);
    draw(graphics, from, "bo", kBeforeSliding, PlotRole::unslidPoints);
  }
  draw(graphics, after, "r.", kAfterSliding, PlotRole::slidPoints, kDotSize);
  graphics.axis("equal");
}

}  // namespace tarvolin
