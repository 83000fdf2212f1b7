#include "superimposelandmarks.h"

#include "platform/errors.h"

namespace tarvolin {

SuperimposedDataSet superimposelandmarks(Eigen::MatrixXd data, const std::string& path, int dims,
                                         bool withStack) {
  SuperimposedDataSet result = superimposedataset(std::move(data), dims, withStack);
  if (!result.data.allFinite() || !result.mean.allFinite()) {
    throw InputError(path, "the superimposition gives numbers that are not finite");
  }
  return result;
}

}  // namespace tarvolin
