#include "numerics/getpproc2D.h"

#include "numerics/procrustesfit.h"

namespace tarvolin {

Superimposition2D getpproc2D(ConfigStack2D data, const TextSink& notes) {
  Superimposition2D result{Eigen::MatrixXd(), std::move(data)};
  procrustesfit::superimpose(result.sdata, result.reference, "getpproc2D", notes);
  return result;
}

}  // namespace tarvolin
