#include "landmarkset.h"

namespace tarvolin {

Eigen::MatrixXd landmarkdataset(const LandmarkSet& set) {
  Eigen::MatrixXd data(set.specimens(), set.coords.cols() + 1);
  data.leftCols(set.coords.cols()) = set.coords;
  data.col(set.coords.cols()) = set.size;
  return data;
}

}  // namespace tarvolin
