#include "numerics/getpprocon3.h"

#include "numerics/partialprocrustes3a.h"

namespace tarvolin {

ConfigStack getpprocon3(const Eigen::Ref<const Eigen::MatrixXd>& reference, const ConfigStack& data,
                        const TextSink& notes) {
  ConfigStack sdata = data;
  for (Eigen::Index i = 0; i < sdata.specimens(); ++i) {
    partialprocrustes3aInPlace(reference, sdata.page(i), notes);
  }
  return sdata;
}

}  // namespace tarvolin
