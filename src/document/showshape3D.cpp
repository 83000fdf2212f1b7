#include "document/showshape3D.h"

#include <algorithm>

#include "document/showshape.h"

namespace tarvolin {
namespace {

void drawPage(Graphics& graphics, const ConfigStack& x, Eigen::Index page, std::string_view dsymbol,
              std::string_view name, PlotRole role, const std::vector<bool>& semilandmark) {
  const auto p = x.page(page);
  const Eigen::Index k = p.rows();
  const auto semi = [&](Eigen::Index j) {
    return j < static_cast<Eigen::Index>(semilandmark.size()) &&
           semilandmark[static_cast<size_t>(j)];
  };
  Eigen::Index start = 0;
  do {
    Eigen::Index end = std::min(start + 1, k);
    while (end < k && semi(end) == semi(start)) ++end;
    const Eigen::Index n = end - start;
    const bool semis = semi(start);
    const std::string semiStyle = semis ? semilandmarkstyle(dsymbol) : std::string();
    const std::string semiName = semis ? semilandmarkname(name, role) : std::string();
    const Handle h = graphics.plot3(
        p.col(0).segment(start, n).transpose(), p.col(1).segment(start, n).transpose(),
        p.col(2).segment(start, n).transpose(), semis ? std::string_view(semiStyle) : dsymbol,
        semis ? std::string_view(semiName) : name, role);
    if (semis) {
      graphics.set(h, "MarkerSize", graphics.getNumber(h, "MarkerSize") * kSemilandmarkMarker);
    }
    // The runs after the first join it, whatever the hold of the axes.
    if (end < k) graphics.hold(true);
    start = end;
  } while (start < k);
}

}  // namespace

void showshape3D(Graphics& graphics, const ConfigStack& x, std::string_view dsymbol,
                 std::string_view name, PlotRole role, const std::vector<bool>& semilandmark) {
  if (x.empty()) return;
  drawPage(graphics, x, 0, dsymbol, name, role, semilandmark);
  graphics.hold(true);
  graphics.axis("auto");
  graphics.axis("equal");
  for (Eigen::Index i = 1; i < x.specimens(); ++i) {
    drawPage(graphics, x, i, dsymbol, name, role, semilandmark);
  }
}

void showshape3D(Graphics& graphics, const Eigen::MatrixXd& x, std::string_view dsymbol,
                 std::string_view name, PlotRole role, const std::vector<bool>& semilandmark) {
  showshape3D(graphics, ConfigStack(x), dsymbol, name, role, semilandmark);
}

}  // namespace tarvolin
