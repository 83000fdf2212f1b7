#include "numerics/centsize3Da.h"
#include "workflows/pcatables.h"

namespace tarvolin {

LandmarkSet pcashapes(const ShapePca& pca, int dims) {
  const Eigen::Index m = pca.components();
  const Eigen::Index v = pca.variables();
  LandmarkSet set;
  set.dims = dims;
  set.coords.resize(2 * m + 1, v);
  set.coords.row(0) = pca.mean;
  set.ids.push_back("mean");
  const auto scores = pca.scores();
  for (Eigen::Index c = 0; c < m; ++c) {
    const std::string name = "PC" + std::to_string(c + 1);
    set.coords.row(2 * c + 1) = pca.shapeat(c, scores.col(c).minCoeff());
    set.coords.row(2 * c + 2) = pca.shapeat(c, scores.col(c).maxCoeff());
    set.ids.push_back(name + "_min");
    set.ids.push_back(name + "_max");
  }
  // A shape's size is its own centroid size: near 1 for the superimposed
  // coordinates, whose shapes are of unit size.
  set.size.resize(set.coords.rows());
  set.sizeGiven = true;
  for (Eigen::Index i = 0; i < set.coords.rows(); ++i) {
    const Eigen::RowVectorXd shape = set.coords.row(i);
    set.size(i) = centsize3Da(
        Eigen::Map<const Eigen::Matrix<double, Eigen::Dynamic, Eigen::Dynamic, Eigen::RowMajor>>(
            shape.data(), v / dims, dims));
  }
  return set;
}

}  // namespace tarvolin
