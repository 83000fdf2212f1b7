#include "standardizedataset.h"

#include "standardsize.h"

namespace tarvolin {

SuperimposedDataSet standardizedataset(const Eigen::MatrixXd& data,
                                       const Eigen::Ref<const Eigen::VectorXd>& fxlist,
                                       double svalue) {
  return superimposedataset(standardsize(data, fxlist, svalue).y);
}

}  // namespace tarvolin
