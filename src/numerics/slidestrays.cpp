#include "numerics/slidestrays.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <set>
#include <utility>

#include "numerics/centsize3Da.h"

namespace tarvolin {
namespace {

using Eigen::Index;
using Segment = std::pair<int, int>;

// The distance of point x from the segment a-b.
double fromsegment(const Eigen::RowVectorXd& x, const Eigen::RowVectorXd& a,
                   const Eigen::RowVectorXd& b) {
  const Eigen::RowVectorXd ab = b - a;
  const double length2 = ab.squaredNorm();
  const double t = length2 > 0 ? std::clamp((x - a).dot(ab) / length2, 0.0, 1.0) : 0.0;
  return (x - a - t * ab).norm();
}

int rootof(std::vector<int>& parent, int i) {
  while (parent[static_cast<size_t>(i)] != i) {
    parent[static_cast<size_t>(i)] = parent[static_cast<size_t>(parent[static_cast<size_t>(i)])];
    i = parent[static_cast<size_t>(i)];
  }
  return i;
}

// The curves the sliders link: each chain's segments, by the root of its
// points.
struct Curves {
  std::vector<int> parent;
  std::vector<std::vector<Segment>> segments;  // by root
};

Curves curvesof(const std::vector<CurveSlider>& curve, int p) {
  std::set<Segment> joined;
  for (const CurveSlider& s : curve) {
    joined.insert(std::minmax(s.before, s.point));
    joined.insert(std::minmax(s.point, s.after));
  }
  Curves c;
  c.parent.resize(static_cast<size_t>(p));
  std::iota(c.parent.begin(), c.parent.end(), 0);
  for (const auto& [a, b] : joined) {
    c.parent[static_cast<size_t>(rootof(c.parent, a))] = rootof(c.parent, b);
  }
  c.segments.resize(static_cast<size_t>(p));
  for (const Segment& s : joined) {
    c.segments[static_cast<size_t>(rootof(c.parent, s.first))].push_back(s);
  }
  return c;
}

}  // namespace

std::vector<SlideStray> slidestrays(const Eigen::MatrixXd& config, const Eigen::MatrixXd& origin,
                                    const Sliders& sliders, double surfaceSpacing) {
  std::vector<SlideStray> strays;
  const double size = centsize3Da(config);
  if (!(size > 0)) return strays;
  const int p = static_cast<int>(config.rows());
  Curves curves = curvesof(sliders.curve, p);
  // Each curve's summed segment length and count, so that a point's own
  // segments can be taken out of it at once.
  std::vector<double> total(static_cast<size_t>(p), 0.0);
  const auto length = [&](const Segment& s) {
    return (config.row(s.first) - config.row(s.second)).norm();
  };
  for (int r = 0; r < p; ++r) {
    for (const Segment& s : curves.segments[static_cast<size_t>(r)]) {
      total[static_cast<size_t>(r)] += length(s);
    }
  }
  for (const CurveSlider& s : sliders.curve) {
    const Eigen::RowVectorXd point = config.row(s.point);
    const Eigen::RowVectorXd before = config.row(s.before);
    const Eigen::RowVectorXd after = config.row(s.after);
    const double chord = (after - before).norm();
    if (!(chord > 0)) continue;
    const std::vector<Segment>& own =
        curves.segments[static_cast<size_t>(rootof(curves.parent, s.point))];
    double others = total[static_cast<size_t>(rootof(curves.parent, s.point))];
    Index count = static_cast<Index>(own.size());
    for (const Segment& g : own) {
      if (g.first == s.point || g.second == s.point) {
        others -= length(g);
        --count;
      }
    }
    const double spacing = (others + chord) / static_cast<double>(count + 2);
    double distance = fromsegment(point, before, after);
    // The chord alone bounds the distance: the other segments matter only
    // where the point is off the chord by more than the spacing.
    if (distance > spacing) {
      for (const Segment& g : own) {
        if (g.first == s.point || g.second == s.point) continue;
        distance =
            std::min(distance, fromsegment(point, config.row(g.first), config.row(g.second)));
      }
    }
    const double t = (point - before).dot(after - before) / chord;
    SlideStray stray;
    stray.point = s.point;
    stray.spacing = spacing / size;
    if (distance > spacing) {
      stray.kind = StrayKind::offCurve;
      stray.distance = distance / size;
    } else if (t < 0) {
      stray.kind = StrayKind::pastBefore;
      stray.distance = -t / size;
      stray.neighbour = s.before;
    } else if (t > chord) {
      stray.kind = StrayKind::pastAfter;
      stray.distance = (t - chord) / size;
      stray.neighbour = s.after;
    } else {
      continue;
    }
    strays.push_back(stray);
  }
  for (const int s : sliders.surface) {
    const double moved = (config.row(s) - origin.row(s)).norm() / size;
    if (moved > kSurfaceReach * surfaceSpacing) {
      SlideStray stray;
      stray.point = s;
      stray.kind = StrayKind::overSurface;
      stray.distance = moved;
      stray.spacing = surfaceSpacing;
      strays.push_back(stray);
    }
  }
  return strays;
}

double surfacespacing(const Eigen::MatrixXd& shape, const std::vector<int>& surface) {
  const double size = centsize3Da(shape);
  if (surface.empty() || shape.rows() < 2 || !(size > 0)) return 0;
  double sum = 0;
  for (const int s : surface) {
    double nearest = std::numeric_limits<double>::infinity();
    for (Index j = 0; j < shape.rows(); ++j) {
      if (j != s) nearest = std::min(nearest, (shape.row(j) - shape.row(s)).squaredNorm());
    }
    sum += std::sqrt(nearest);
  }
  return sum / static_cast<double>(surface.size()) / size;
}

}  // namespace tarvolin
