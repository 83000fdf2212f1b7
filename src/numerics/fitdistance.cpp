#include "numerics/fitdistance.h"

#include <cmath>

#include "numerics/fitcolumns.h"

namespace tarvolin {
namespace {

template <int D>
double fitAndMeasure(const Eigen::Ref<const Eigen::MatrixXd>& reference, Eigen::MatrixXd& subject) {
  using namespace procrustesfit;
  // The step is asked for so that the fit writes no self-check: a subject
  // that cannot be fitted shows as a distance that is not a number.
  FitStep<D> step;
  fitColumns<D>(constColumnsOf<D>(reference), columnsOf<D>(subject), subject.rows(), nullptr, {},
                &step);
  return std::sqrt((subject - reference).squaredNorm());
}

}  // namespace

double fitdistance(const Eigen::Ref<const Eigen::MatrixXd>& reference, Eigen::MatrixXd subject) {
  const auto dims = subject.cols();
  if ((dims != 2 && dims != 3) || reference.cols() != dims || reference.rows() != subject.rows()) {
    throw procrustesfit::notMatching("fitdistance", dims == 2 ? 2 : 3);
  }
  return dims == 2 ? fitAndMeasure<2>(reference, subject) : fitAndMeasure<3>(reference, subject);
}

}  // namespace tarvolin
