#include "numerics/getpproc3.h"

#include "numerics/procrustesfit.h"

namespace tarvolin {

Superimposition getpproc3(ConfigStack data, const TextSink& notes) {
  // The specimens are fitted in the memory of the stack handed in.
  Superimposition result{Eigen::MatrixXd(), std::move(data)};
  procrustesfit::superimpose(result.sdata, result.reference3, "getpproc3", notes);
  return result;
}

}  // namespace tarvolin
