#include "showshape3D.h"

namespace tarvolin {
namespace {

void drawPage(Graphics& graphics, const ConfigStack& x, Eigen::Index page,
              std::string_view dsymbol) {
  const auto p = x.page(page);
  graphics.plot3(p.col(0).transpose(), p.col(1).transpose(), p.col(2).transpose(), dsymbol);
}

}  // namespace

void showshape3D(Graphics& graphics, const ConfigStack& x, std::string_view dsymbol) {
  if (x.empty()) return;
  drawPage(graphics, x, 0, dsymbol);
  graphics.hold(true);
  graphics.axis("auto");
  graphics.axis("equal");
  for (Eigen::Index i = 1; i < x.specimens(); ++i) drawPage(graphics, x, i, dsymbol);
}

void showshape3D(Graphics& graphics, const Eigen::MatrixXd& x, std::string_view dsymbol) {
  showshape3D(graphics, ConfigStack(x), dsymbol);
}

}  // namespace tarvolin
