#include <algorithm>

#include "workflows/reportwindowparts.h"

namespace tarvolin {

Eigen::Vector4d reportplace(const Graphics& graphics, const Eigen::Vector2d& size,
                            const Eigen::Vector2d& corner) {
  const Eigen::Vector4d screen = reportrectangle(graphics.get(kRoot, "ScreenSize"));
  const double width = std::min(size.x(), screen(2) - 4 * kReportMargin);
  const double height = std::min(size.y(), screen(3) - kReportFrameRoom);
  const double left =
      std::max(kReportMargin, std::min(corner.x(), screen(2) - width - 2 * kReportMargin));
  // The bars below the drawing area and the title bar above it stay on the
  // screen too.
  const double bottom = std::max(kReportFrameRoom / 2,
                                 std::min(corner.y(), screen(3) - kReportFrameRoom / 2 - height));
  return {left, bottom, width, height};
}

}  // namespace tarvolin
