#include "getpproc3.h"

#include <limits>
#include <stdexcept>

#include "centsize3Da.h"
#include "partialprocrustes3a.h"

namespace tarvolin {
namespace {

void centre(Eigen::MatrixXd& x) {
  const Eigen::RowVectorXd centroid = x.colwise().mean();
  x.rowwise() -= centroid;
}

// The first reference: the sum of the raw configurations, centred and scaled
// to size 1, or, where that sum has no size, the first specimen that has one,
// centred and scaled to size 1.
Eigen::MatrixXd startReference(const ConfigStack& data) {
  const Eigen::Index count = data.specimens();
  Eigen::MatrixXd reference3 = Eigen::MatrixXd::Zero(data.landmarks(), 3);
  for (Eigen::Index i = 0; i < count; ++i) reference3 += data.page(i);
  centre(reference3);
  const double size = centsize3Da(reference3);

  // Summing the configurations and centring the sum round it by at most
  // about (count + 2) eps / 2 times the summed norms of the raw coordinates:
  // raw, location included, since far from the origin the location sets the
  // rounding. A size no larger than count eps times that may be rounding
  // alone, its shape noise; configurations that cancel out, such as flat
  // specimens each paired with its half-turn, leave exactly that. The same
  // test tells a specimen whose landmarks all coincide.
  const double tolerance = static_cast<double>(count) * std::numeric_limits<double>::epsilon();
  double magnitude = 0;
  for (Eigen::Index i = 0; i < count; ++i) magnitude += data.page(i).norm();
  if (size > tolerance * magnitude) {
    reference3 /= size;
    return reference3;
  }
  for (Eigen::Index i = 0; i < count; ++i) {
    Eigen::MatrixXd x = data.page(i);
    centre(x);
    const double specimenSize = centsize3Da(x);
    if (specimenSize > tolerance * data.page(i).norm()) {
      return x / specimenSize;
    }
  }
  // No specimen has a shape to start from either (for a stack of one, the
  // test above was this one).
  reference3 /= size;
  return reference3;
}

}  // namespace

Superimposition getpproc3(ConfigStack data) {
  if (data.empty()) throw std::invalid_argument("getpproc3: the stack holds no specimen");
  const Eigen::Index count = data.specimens();
  const Eigen::Index landmarks = data.landmarks();
  // The specimens are fitted in the memory of the stack handed in.
  Superimposition result{Eigen::MatrixXd(), std::move(data)};
  Eigen::MatrixXd& reference3 = result.reference3;
  ConfigStack& sdata = result.sdata;

  reference3 = startReference(sdata);
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
