#include "landmarks/landmarkset.h"

namespace tarvolin {

Eigen::MatrixXd landmarkdataset(const LandmarkSet& set) {
  Eigen::MatrixXd data(set.specimens(), set.coords.cols() + 1);
  data.leftCols(set.coords.cols()) = set.coords;
  data.col(set.coords.cols()) = set.size;
  return data;
}

Eigen::MatrixXd landmarkdataset(LandmarkSet&& set) {
  const Eigen::Index rows = set.coords.rows();
  Eigen::MatrixXd data = std::move(set.coords);
  set.coords.resize(rows, 0);
  const Eigen::Index n = data.cols();
  // Adding a last column to a column-major matrix grows it where it lies
  // when it can, and never needs the coordinates twice over for long.
  data.conservativeResize(Eigen::NoChange, n + 1);
  data.col(n) = set.size;
  return data;
}

}  // namespace tarvolin
