#include "standardizedataset.h"

#include "standardsize.h"

namespace tarvolin {

SuperimposedDataSet standardizedataset(Eigen::MatrixXd data,
                                       const Eigen::Ref<const Eigen::VectorXd>& fxlist,
                                       double svalue) {
  return superimposedataset(standardsize(std::move(data), fxlist, svalue).y);
}

}  // namespace tarvolin
