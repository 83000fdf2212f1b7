#include "superimposelandmarks.h"

#include "platform/errors.h"
#include "platform/sprintf.h"

namespace tarvolin {

SuperimposedDataSet superimposelandmarks(Eigen::MatrixXd data, const std::string& path, int dims,
                                         bool withStack, const GpaRounds& rounds) {
  SuperimposedDataSet result = superimposedataset(std::move(data), dims, withStack, rounds);
  if (!result.data.allFinite() || !result.mean.allFinite()) {
    throw InputError(path, "the superimposition gives numbers that are not finite");
  }
  if (!result.fit.asDefined && !result.fit.converged) {
    throw InputError(path, sprintf("the superimposition did not converge in %d rounds (last "
                                   "change %.2g); raise --tolerance or leave out --gpa converged",
                                   result.fit.rounds, result.fit.lastChange));
  }
  return result;
}

}  // namespace tarvolin
