#include "superimposedataset.h"

#include "getpproc3.h"
#include "shapes/vertxy3D.h"
#include "shapes/xyzfromvert3.h"

namespace tarvolin {

SuperimposedDataSet superimposedataset(Eigen::MatrixXd data) {
  ConfigStack stack = vertxy3D(data);
  const Eigen::VectorXd sizes = data.col(data.cols() - 1);
  data.resize(0, 0);
  Superimposition fitted = getpproc3(std::move(stack));
  SuperimposedDataSet result;
  result.data = xyzfromvert3(fitted.sdata, sizes);
  result.stack = std::move(fitted.sdata);
  result.mean = std::move(fitted.reference3);
  return result;
}

}  // namespace tarvolin
