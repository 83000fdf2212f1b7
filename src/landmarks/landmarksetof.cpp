#include <stdexcept>

#include "landmarks/landmarkset.h"

namespace tarvolin {

LandmarkSet landmarksetof(Eigen::MatrixXd data, int dims, std::vector<std::string> ids) {
  if ((dims != 2 && dims != 3) || data.cols() < 1 || (data.cols() - 1) % dims != 0) {
    throw std::invalid_argument("landmarksetof: a data set has d k + 1 columns, d 2 or 3");
  }
  const Eigen::Index rows = data.rows();
  LandmarkSet set;
  set.dims = dims;
  set.size = data.col(data.cols() - 1);
  set.sizeGiven = true;
  // Dropping the last column of a column-major matrix keeps its memory: a
  // large data set is not held twice.
  data.conservativeResize(Eigen::NoChange, data.cols() - 1);
  set.coords = std::move(data);
  if (ids.empty()) {
    ids.reserve(static_cast<size_t>(rows));
    for (Eigen::Index i = 0; i < rows; ++i) ids.push_back(std::to_string(i + 1));
  } else if (static_cast<Eigen::Index>(ids.size()) != rows) {
    throw std::invalid_argument("landmarksetof: one ID per row");
  }
  set.ids = std::move(ids);
  return set;
}

}  // namespace tarvolin
