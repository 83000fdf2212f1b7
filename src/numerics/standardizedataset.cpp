#include "numerics/standardizedataset.h"

#include "numerics/standardsize.h"

namespace tarvolin {

SuperimposedDataSet standardizedataset(Eigen::MatrixXd data,
                                       const Eigen::Ref<const Eigen::VectorXd>& fxlist,
                                       double svalue, const TextSink& notes, int dims,
                                       bool withStack, const GpaRounds& rounds) {
  return superimposedataset(standardsize(std::move(data), fxlist, svalue).y, notes, dims, withStack,
                            rounds);
}

}  // namespace tarvolin
