#include "superimposedataset.h"

#include "getpproc3.h"
#include "shapes/vertxy3D.h"
#include "shapes/xyzfromvert3.h"

namespace tarvolin {

SuperimposedDataSet superimposedataset(const Eigen::MatrixXd& data) {
  Superimposition fitted = getpproc3(vertxy3D(data));
  SuperimposedDataSet result;
  result.data = xyzfromvert3(fitted.sdata, data.col(data.cols() - 1));
  result.stack = std::move(fitted.sdata);
  result.mean = std::move(fitted.reference3);
  return result;
}

}  // namespace tarvolin
