#include "document/showshape.h"

#include "document/legendnames.h"

namespace tarvolin {

std::string semilandmarkstyle(std::string_view style) {
  constexpr std::string_view kMarkers = "ox+*sdv^<>ph.";
  std::string semi(style);
  for (size_t i = 0; i < semi.size(); ++i) {
    // A dot after a dash is the line "-.", not a marker.
    if (kMarkers.find(semi[i]) == std::string_view::npos ||
        (semi[i] == '.' && i > 0 && semi[i - 1] == '-')) {
      continue;
    }
    semi[i] = semi[i] == '+' ? 'x' : '+';
    return semi;
  }
  return semi + "+";
}

std::string semilandmarkname(std::string_view name, PlotRole role) {
  if (name.empty()) return {};
  if (role == PlotRole::specimens) return std::string(kSemilandmarks);
  return std::string(name) + ": " + std::string(kSemilandmarks);
}

double showshape(Graphics& graphics, const Eigen::MatrixXd& x, std::string_view xform,
                 std::string_view name, PlotRole role, const std::vector<bool>& semilandmark) {
  constexpr double kMarker = 3;
  graphics.hold(true);
  const Eigen::Index points = (x.cols() - 1) / 2;
  const std::string semiStyle = semilandmarkstyle(xform);
  const std::string semiName = semilandmarkname(name, role);
  for (Eigen::Index i = 0; i < x.rows(); ++i) {
    for (Eigen::Index j = 0; j < points; ++j) {
      const bool semi = j < static_cast<Eigen::Index>(semilandmark.size()) &&
                        semilandmark[static_cast<size_t>(j)];
      graphics.plot(PlotData::one(x(i, 2 * j)), PlotData::one(x(i, 2 * j + 1)),
                    semi ? std::string_view(semiStyle) : xform,
                    semi ? kMarker * kSemilandmarkMarker : kMarker,
                    semi ? std::string_view(semiName) : name, role);
    }
  }
  graphics.axis("auto");
  graphics.axis("equal");
  return 1;
}

}  // namespace tarvolin
