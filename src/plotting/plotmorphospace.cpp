#include "plotting/plotmorphospace.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "core/sprintf.h"
#include "document/legendnames.h"
#include "numerics/convexhull2d.h"

namespace tarvolin {

namespace {

// The scree shows the first components only: beyond a score of bars the
// picture says no more than the table.
constexpr Eigen::Index kScreeShown = 20;

// A range with room around it; a single value gets a unit of room.
std::array<double, 2> padded(double lo, double hi) {
  if (!std::isfinite(lo) || !std::isfinite(hi)) return {-1, 1};
  const double room = hi > lo ? 0.05 * (hi - lo) : std::max(1.0, std::abs(lo));
  return {lo - room, hi + room};
}

}  // namespace

std::string groupstyle(size_t group) {
  static constexpr std::array<char, 6> kColours{'b', 'r', 'g', 'm', 'c', 'k'};
  static constexpr std::array<char, 7> kMarkers{'o', 's', 'd', '^', 'v', 'p', 'h'};
  std::string style;
  style += kColours[group % kColours.size()];
  style += kMarkers[(group % kColours.size() + group / kColours.size()) % kMarkers.size()];
  return style;
}

std::string pcaxistitle(const ShapePca& pca, Eigen::Index component) {
  const double share = pca.totalVariance > 0 && component < pca.components()
                           ? 100 * pca.eigenvalues(component) / pca.totalVariance
                           : 0;
  return sprintf("PC%i (%.1f%%)", component + 1, share);
}

void plotmorphospace(Graphics& graphics, Handle axes, const ShapePca& pca,
                     const std::vector<std::string>& ids,
                     const std::optional<SpecimenGroups>& groups, const MorphospaceView& view) {
  graphics.setCurrentAxes(axes);
  graphics.clearObject(axes);
  graphics.hold(true);
  const Eigen::Index n = pca.specimens;
  const Eigen::Index m = pca.components();
  const auto scoresOn = [&](Eigen::Index component) -> Eigen::VectorXd {
    if (component >= 0 && component < m) return pca.scores().col(component);
    return Eigen::VectorXd::Zero(n);
  };
  const Eigen::VectorXd x = scoresOn(view.pcx);
  const Eigen::VectorXd y = scoresOn(view.pcy);
  const bool grouped = groups && groups->of.size() == static_cast<size_t>(n);

  // Zero lines first, under everything.
  if (n > 0) {
    const auto [left, right] = padded(std::min(x.minCoeff(), 0.0), std::max(x.maxCoeff(), 0.0));
    const auto [bottom, top] = padded(std::min(y.minCoeff(), 0.0), std::max(y.maxCoeff(), 0.0));
    graphics.plot(Eigen::RowVector2d(left, right), Eigen::RowVector2d(0, 0), "k--", 6, {},
                  PlotRole::zeroLine);
    graphics.plot(Eigen::RowVector2d(0, 0), Eigen::RowVector2d(bottom, top), "k--", 6, {},
                  PlotRole::zeroLine);
  }

  if (grouped && view.hulls) {
    // Each group's members, found in one pass.
    std::vector<std::vector<Eigen::Index>> memberships(groups->names.size());
    for (Eigen::Index j = 0; j < n; ++j) {
      const int g = groups->of[static_cast<size_t>(j)];
      if (g >= 0 && static_cast<size_t>(g) < memberships.size()) {
        memberships[static_cast<size_t>(g)].push_back(j);
      }
    }
    for (size_t g = 0; g < groups->names.size(); ++g) {
      const std::vector<Eigen::Index>& members = memberships[g];
      Eigen::MatrixX2d points(static_cast<Eigen::Index>(members.size()), 2);
      for (size_t i = 0; i < members.size(); ++i) {
        points.row(static_cast<Eigen::Index>(i)) << x(members[i]), y(members[i]);
      }
      const std::vector<Eigen::Index> corners = convexhull2d(points);
      if (corners.size() < 2) continue;
      Eigen::RowVectorXd hx(static_cast<Eigen::Index>(corners.size()) + 1);
      Eigen::RowVectorXd hy(hx.size());
      for (size_t i = 0; i <= corners.size(); ++i) {
        const Eigen::Index corner = corners[i % corners.size()];
        hx(static_cast<Eigen::Index>(i)) = points(corner, 0);
        hy(static_cast<Eigen::Index>(i)) = points(corner, 1);
      }
      graphics.plot(hx, hy, std::string(1, groupstyle(g)[0]) + "-", 6, {}, PlotRole::pcHull);
    }
  }

  // One object a specimen, tagged with its ID, so that a click names it.
  for (Eigen::Index j = 0; j < n; ++j) {
    const size_t g = grouped ? static_cast<size_t>(groups->of[static_cast<size_t>(j)]) : 0;
    const Handle point = graphics.plot(
        PlotData::one(x(j)), PlotData::one(y(j)), grouped ? groupstyle(g) : "ko", 5,
        grouped ? std::string_view(groups->names[g]) : kPcSpecimens, PlotRole::pcScores);
    if (static_cast<size_t>(j) < ids.size()) graphics.setTag(point, ids[static_cast<size_t>(j)]);
  }

  if (view.chosen && *view.chosen >= 0 && *view.chosen < n) {
    const Eigen::Index j = *view.chosen;
    graphics.plot(PlotData::one(x(j)), PlotData::one(y(j)), "ro", 12,
                  static_cast<size_t>(j) < ids.size() ? ids[static_cast<size_t>(j)] : "",
                  PlotRole::pcChosen);
  }

  graphics.axis("equal");
  graphics.setXLabel(axes, pcaxistitle(pca, view.pcx));
  graphics.setYLabel(axes, m > view.pcy ? pcaxistitle(pca, view.pcy) : "");
  graphics.setTitle(axes, view.title);
}

void plotscree(Graphics& graphics, Handle axes, const ShapePca& pca) {
  graphics.setCurrentAxes(axes);
  graphics.clearObject(axes);
  graphics.hold(true);
  const Eigen::Index shown = std::min(pca.components(), kScreeShown);
  if (shown > 0) {
    const Eigen::VectorXd share = pca.proportions();
    const Eigen::VectorXd running = pca.cumulative();
    for (Eigen::Index c = 0; c < shown; ++c) {
      const double at = static_cast<double>(c + 1);
      // A bar as its outline, from zero up.
      graphics.plot(Eigen::RowVectorXd{{at - 0.35, at - 0.35, at + 0.35, at + 0.35}},
                    Eigen::RowVectorXd{{0, share(c), share(c), 0}}, "b-", 6, kScreeProportions,
                    PlotRole::screeProportions);
    }
    graphics.plot(Eigen::RowVectorXd::LinSpaced(shown, 1, static_cast<double>(shown)),
                  running.head(shown).transpose(), "r.-", 8, kScreeCumulative,
                  PlotRole::screeCumulative);
  }
  graphics.axis("auto");
  graphics.setXLabel(axes, "component");
  graphics.setYLabel(axes, "proportion of variance");
  graphics.setTitle(axes, shown < pca.components()
                              ? sprintf("the first %i of %i components", shown, pca.components())
                              : std::string());
}

}  // namespace tarvolin
