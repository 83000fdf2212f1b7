#include <stdexcept>

#include "landmarkset.h"

namespace tarvolin {

LandmarkSet landmarksetof(const Eigen::MatrixXd& data, int dims, std::vector<std::string> ids) {
  if ((dims != 2 && dims != 3) || data.cols() < 1 || (data.cols() - 1) % dims != 0) {
    throw std::invalid_argument("landmarksetof: a data set has d k + 1 columns, d 2 or 3");
  }
  LandmarkSet set;
  set.dims = dims;
  set.coords = data.leftCols(data.cols() - 1);
  set.size = data.col(data.cols() - 1);
  set.sizeGiven = true;
  if (ids.empty()) {
    ids.reserve(static_cast<size_t>(data.rows()));
    for (Eigen::Index i = 0; i < data.rows(); ++i) ids.push_back(std::to_string(i + 1));
  } else if (static_cast<Eigen::Index>(ids.size()) != data.rows()) {
    throw std::invalid_argument("landmarksetof: one ID per row");
  }
  set.ids = std::move(ids);
  return set;
}

}  // namespace tarvolin
