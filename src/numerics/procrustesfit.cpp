#include "numerics/procrustesfit.h"

#include <Eigen/LU>
#include <Eigen/SVD>
#include <cmath>
#include <limits>
#include <string>

#include "core/echotext.h"
#include "numerics/fitcolumns.h"
#include "numerics/rowpages.h"
#include "numerics/stackpages.h"
#include "numerics/superimposepages.h"

namespace tarvolin::procrustesfit {

std::invalid_argument notMatching(const char* caller, int dims) {
  return std::invalid_argument(std::string(caller) + ": reference and subject must both be k x " +
                               std::to_string(dims) + " with the same k");
}

template <int D>
Square<D> rotationOf(const Square<D>& a) {
  if (!a.allFinite()) return Square<D>::Constant(std::numeric_limits<double>::quiet_NaN());

  Eigen::JacobiSVD<Square<D>> svd(a, Eigen::ComputeFullU | Eigen::ComputeFullV);
  Square<D> u = svd.matrixU();
  const Square<D>& v = svd.matrixV();
  // Singular values come in decreasing order: the last column of U belongs
  // to the smallest one, the cheapest to turn the other way.
  if (u.determinant() * v.determinant() < 0) u.col(D - 1) = -u.col(D - 1);
  return u * v.transpose();
}

template <int D>
Square<D> bestRotation(const Eigen::Ref<const Eigen::MatrixXd>& reference,
                       const Eigen::Ref<const Eigen::MatrixXd>& subject, const char* caller) {
  if (reference.cols() != D || subject.cols() != D || reference.rows() != subject.rows()) {
    throw notMatching(caller, D);
  }
  return rotationOf<D>(subject.transpose() * reference);
}

template <int D>
void checkRotation(const Square<D>& roto, const TextSink& notes) {
  const Square<D> temp = roto.transpose() * roto;
  if (std::round(temp(0, 0) * 100000.0) / 100000.0 != 1.0) {
    notes(echoText("stemp", "Error in rotation"));
    notes(echoText("roto", Eigen::MatrixXd(roto)));
    notes(echoText("temp", Eigen::MatrixXd(temp)));
  }
}

template <int D>
void fitOnto(const Eigen::Ref<const Eigen::MatrixXd>& reference,
             Eigen::Ref<Eigen::MatrixXd> subject, const char* caller, const TextSink& notes) {
  if (subject.cols() != D || reference.rows() != subject.rows() || reference.cols() != D) {
    throw notMatching(caller, D);
  }
  fitColumns<D>(constColumnsOf<D>(reference), columnsOf<D>(subject), subject.rows(), nullptr,
                notes);
}

template <int D>
GpaReport superimpose(BasicConfigStack<D>& sdata, Eigen::MatrixXd& reference, const char* caller,
                      const TextSink& notes, const Rounds& rounds) {
  if (sdata.empty())
    throw std::invalid_argument(std::string(caller) + ": the stack holds no specimen");
  StackPages<D> pages(sdata);
  return superimposePages<D>(pages, reference, caller, notes, rounds);
}

template <int D>
GpaReport superimposeRows(Eigen::MatrixXd& data, Eigen::MatrixXd& reference, const char* caller,
                          const TextSink& notes, const Rounds& rounds) {
  RowPages<D> pages(data);
  return superimposePages<D>(pages, reference, caller, notes, rounds);
}

#define TARVOLIN_PROCRUSTESFIT(D)                                                                 \
  template Square<D> rotationOf<D>(const Square<D>&);                                             \
  template Square<D> bestRotation<D>(const Eigen::Ref<const Eigen::MatrixXd>&,                    \
                                     const Eigen::Ref<const Eigen::MatrixXd>&, const char*);      \
  template void checkRotation<D>(const Square<D>&, const TextSink&);                              \
  template void fitOnto<D>(const Eigen::Ref<const Eigen::MatrixXd>&, Eigen::Ref<Eigen::MatrixXd>, \
                           const char*, const TextSink&);                                         \
  template GpaReport superimpose<D>(BasicConfigStack<D>&, Eigen::MatrixXd&, const char*,          \
                                    const TextSink&, const Rounds&);                              \
  template GpaReport superimposeRows<D>(Eigen::MatrixXd&, Eigen::MatrixXd&, const char*,          \
                                        const TextSink&, const Rounds&);
TARVOLIN_PROCRUSTESFIT(2)
TARVOLIN_PROCRUSTESFIT(3)
#undef TARVOLIN_PROCRUSTESFIT

}  // namespace tarvolin::procrustesfit
