#include "superimposedataset.h"

#include <stdexcept>
#include <string>

#include "getpproc2D.h"
#include "getpproc3.h"
#include "shapes/vertxy2D.h"
#include "shapes/vertxy3D.h"
#include "shapes/xyfromvert2.h"
#include "shapes/xyzfromvert3.h"

namespace tarvolin {

SuperimposedDataSet superimposedataset(Eigen::MatrixXd data, int dims) {
  if (dims != 2 && dims != 3) {
    throw std::invalid_argument("superimposedataset: data are 2D or 3D, not " +
                                std::to_string(dims) + "D");
  }
  SuperimposedDataSet result;
  if (dims == 2) {
    ConfigStack2D stack = vertxy2D(data);
    const Eigen::VectorXd sizes = data.col(data.cols() - 1);
    data.resize(0, 0);
    Superimposition2D fitted = getpproc2D(std::move(stack));
    result.data = xyfromvert2(fitted.sdata, sizes);
    result.mean = std::move(fitted.reference);
    return result;
  }
  ConfigStack stack = vertxy3D(data);
  const Eigen::VectorXd sizes = data.col(data.cols() - 1);
  data.resize(0, 0);
  Superimposition fitted = getpproc3(std::move(stack));
  result.data = xyzfromvert3(fitted.sdata, sizes);
  result.stack = std::move(fitted.sdata);
  result.mean = std::move(fitted.reference3);
  return result;
}

}  // namespace tarvolin
