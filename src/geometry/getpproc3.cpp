#include "getpproc3.h"

#include <stdexcept>

#include "centsize3Da.h"
#include "partialprocrustes3a.h"

namespace tarvolin {
namespace {

// Centres a configuration and scales it to centroid size 1.
void centreAndScale(Eigen::MatrixXd& x) {
  const Eigen::RowVectorXd centroid = x.colwise().mean();
  x.rowwise() -= centroid;
  x /= centsize3Da(x);
}

}  // namespace

Superimposition getpproc3(ConfigStack data) {
  if (data.empty()) throw std::invalid_argument("getpproc3: the stack holds no specimen");
  const Eigen::Index count = data.specimens();
  const Eigen::Index landmarks = data.landmarks();
  // The specimens are fitted in the memory of the stack handed in.
  Superimposition result{Eigen::MatrixXd::Zero(landmarks, 3), std::move(data)};
  Eigen::MatrixXd& reference3 = result.reference3;
  ConfigStack& sdata = result.sdata;

  for (Eigen::Index i = 0; i < count; ++i) reference3 += sdata.page(i);
  centreAndScale(reference3);

  if (count == 1) {
    sdata.page(0) = reference3;
    return result;
  }

  Eigen::MatrixXd sum3(landmarks, 3);
  for (int iteration = 0; iteration < 3; ++iteration) {
    sum3.setZero();
    for (Eigen::Index i = 0; i < count; ++i) {
      partialprocrustes3aInPlace(reference3, sdata.page(i));
      sum3 += sdata.page(i);
    }
    reference3 = sum3 / static_cast<double>(count);
    reference3 /= centsize3Da(reference3);
  }
  return result;
}

}  // namespace tarvolin
