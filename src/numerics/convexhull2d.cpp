#include "numerics/convexhull2d.h"

#include <algorithm>
#include <cmath>

namespace tarvolin {
namespace {

using Eigen::Index;

// Twice the signed area of o, a, b: above 0 when they turn counter-clockwise.
double turn(const Eigen::Ref<const Eigen::MatrixX2d>& p, Index o, Index a, Index b) {
  return (p(a, 0) - p(o, 0)) * (p(b, 1) - p(o, 1)) - (p(a, 1) - p(o, 1)) * (p(b, 0) - p(o, 0));
}

}  // namespace

std::vector<Index> convexhull2d(const Eigen::Ref<const Eigen::MatrixX2d>& points) {
  std::vector<Index> order;
  for (Index i = 0; i < points.rows(); ++i) {
    if (std::isfinite(points(i, 0)) && std::isfinite(points(i, 1))) order.push_back(i);
  }
  // Lowest first, then leftmost: the monotone chain then runs from the
  // point the hull is to start at. The stable sort keeps the first of
  // points in one place, and the rest are dropped.
  std::stable_sort(order.begin(), order.end(), [&](Index a, Index b) {
    if (points(a, 1) != points(b, 1)) return points(a, 1) < points(b, 1);
    return points(a, 0) < points(b, 0);
  });
  order.erase(std::unique(order.begin(), order.end(),
                          [&](Index a, Index b) {
                            return points(a, 0) == points(b, 0) && points(a, 1) == points(b, 1);
                          }),
              order.end());
  if (order.size() < 3) return order;

  // Andrew's monotone chain, swept along y: the right chain going up, then
  // the left chain coming down, each dropping every point that does not
  // turn counter-clockwise (points on an edge included).
  std::vector<Index> hull;
  const auto chain = [&](auto first, auto last, size_t floor) {
    for (auto it = first; it != last; ++it) {
      while (hull.size() >= floor + 2 &&
             turn(points, hull[hull.size() - 2], hull.back(), *it) <= 0) {
        hull.pop_back();
      }
      hull.push_back(*it);
    }
  };
  chain(order.begin(), order.end(), 0);
  const size_t right = hull.size() - 1;
  chain(order.rbegin() + 1, order.rend(), right);
  hull.pop_back();  // the lowest point again
  return hull;
}

}  // namespace tarvolin
