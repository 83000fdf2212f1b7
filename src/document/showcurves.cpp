#include "document/showcurves.h"

#include <algorithm>
#include <set>
#include <utility>

#include "document/legendnames.h"

namespace tarvolin {

void showcurves(Graphics& graphics, const Eigen::MatrixXd& x, const std::vector<CurveSlider>& curve,
                std::string_view style) {
  const int k = static_cast<int>(x.rows());
  std::set<std::pair<int, int>> segments;
  for (const CurveSlider& s : curve) {
    if (std::min({s.before, s.point, s.after}) < 0 || std::max({s.before, s.point, s.after}) >= k) {
      continue;
    }
    segments.insert(std::minmax(s.before, s.point));
    segments.insert(std::minmax(s.point, s.after));
  }
  graphics.hold(true);
  for (const auto& [a, b] : segments) {
    const Eigen::RowVector2d xs(x(a, 0), x(b, 0)), ys(x(a, 1), x(b, 1));
    if (x.cols() == 3) {
      graphics.plot3(xs, ys, Eigen::RowVector2d(x(a, 2), x(b, 2)), style, kCurves,
                     PlotRole::curves);
    } else {
      graphics.plot(xs, ys, style, 6, kCurves, PlotRole::curves);
    }
  }
}

}  // namespace tarvolin
