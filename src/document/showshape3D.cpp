#include "document/showshape3D.h"

namespace tarvolin {
namespace {

void drawPage(Graphics& graphics, const ConfigStack& x, Eigen::Index page, std::string_view dsymbol,
              std::string_view name, PlotRole role) {
  const auto p = x.page(page);
  graphics.plot3(p.col(0).transpose(), p.col(1).transpose(), p.col(2).transpose(), dsymbol, name,
                 role);
}

}  // namespace

void showshape3D(Graphics& graphics, const ConfigStack& x, std::string_view dsymbol,
                 std::string_view name, PlotRole role) {
  if (x.empty()) return;
  drawPage(graphics, x, 0, dsymbol, name, role);
  graphics.hold(true);
  graphics.axis("auto");
  graphics.axis("equal");
  for (Eigen::Index i = 1; i < x.specimens(); ++i) drawPage(graphics, x, i, dsymbol, name, role);
}

void showshape3D(Graphics& graphics, const Eigen::MatrixXd& x, std::string_view dsymbol,
                 std::string_view name, PlotRole role) {
  showshape3D(graphics, ConfigStack(x), dsymbol, name, role);
}

}  // namespace tarvolin
