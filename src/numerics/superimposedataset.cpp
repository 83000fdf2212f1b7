#include "numerics/superimposedataset.h"

#include <stdexcept>
#include <string>

#include "landmarks/vertxy2D.h"
#include "landmarks/vertxy3D.h"
#include "landmarks/xyfromvert2.h"
#include "landmarks/xyzfromvert3.h"
#include "numerics/getpproc2D.h"
#include "numerics/getpproc3.h"
#include "numerics/procrustesfit.h"
#include "numerics/slidegpa.h"

namespace tarvolin {

SuperimposedDataSet superimposedataset(Eigen::MatrixXd data, const TextSink& notes, int dims,
                                       bool withStack, const GpaRounds& rounds) {
  if (dims != 2 && dims != 3) {
    throw std::invalid_argument("superimposedataset: data are 2D or 3D, not " +
                                std::to_string(dims) + "D");
  }
  SuperimposedDataSet result;
  if (rounds.slide && data.rows() > 0 && data.cols() > dims && (data.cols() - 1) % dims == 0) {
    result.fit = slidegpa(data, result.mean, dims, *rounds.slide, rounds.onRound, &result.unslid);
    if (rounds.onSlid) rounds.onSlid(result.fit);
    result.data = std::move(data);
    if (dims == 3 && withStack) result.stack = vertxy3D(result.data);
    return result;
  }
  if (data.rows() > 0 && data.cols() > dims && (data.cols() - 1) % dims == 0) {
    result.fit =
        dims == 2
            ? procrustesfit::superimposeRows<2>(data, result.mean, "getpproc2D", notes, rounds)
            : procrustesfit::superimposeRows<3>(data, result.mean, "getpproc3", notes, rounds);
    result.data = std::move(data);
    if (dims == 3 && withStack) result.stack = vertxy3D(result.data);
    return result;
  }
  // Data sets of no specimen or landmark, or of odd shape, are the
  // conversions' to judge; should one pass, it has the three rounds as
  // defined (result.fit as it starts).
  if (dims == 2) {
    ConfigStack2D stack = vertxy2D(data);
    const Eigen::VectorXd sizes = data.col(data.cols() - 1);
    data.resize(0, 0);
    Superimposition2D fitted = getpproc2D(std::move(stack), notes);
    result.data = xyfromvert2(fitted.sdata, sizes);
    result.mean = std::move(fitted.reference);
    return result;
  }
  ConfigStack stack = vertxy3D(data);
  const Eigen::VectorXd sizes = data.col(data.cols() - 1);
  data.resize(0, 0);
  Superimposition fitted = getpproc3(std::move(stack), notes);
  result.data = xyzfromvert3(fitted.sdata, sizes);
  result.stack = std::move(fitted.sdata);
  result.mean = std::move(fitted.reference3);
  return result;
}

}  // namespace tarvolin
