#pragma once
// The Procrustes fits written once for D = 2 and D = 3 coordinates:
// svdrot2 / svdrot2D, partialprocrustes3a / partialprocrustes2D and
// getpproc3 / getpproc2D are these templates, so flat data is superimposed
// by the same steps as 3D data, with a rotation that keeps to the plane.
// Internal to the geometry layer: callers use the named routines.
//
// caller: the routine's name, for the messages of std::invalid_argument.

#include <Eigen/Core>
#include <Eigen/LU>
#include <Eigen/SVD>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>

#include "centsize3Da.h"
#include "platform/configstack.h"
#include "platform/console.h"

namespace tarvolin::procrustesfit {

template <int D>
using Square = Eigen::Matrix<double, D, D>;

inline std::invalid_argument notMatching(const char* caller, int dims) {
  return std::invalid_argument(std::string(caller) + ": reference and subject must both be k x " +
                               std::to_string(dims) + " with the same k");
}

// The proper rotation R minimising |subject * R - reference|^2 (k x D each).
template <int D>
Square<D> bestRotation(const Eigen::Ref<const Eigen::MatrixXd>& reference,
                       const Eigen::Ref<const Eigen::MatrixXd>& subject, const char* caller) {
  if (reference.cols() != D || subject.cols() != D || reference.rows() != subject.rows()) {
    throw notMatching(caller, D);
  }
  const Square<D> a = subject.transpose() * reference;
  if (!a.allFinite()) return Square<D>::Constant(std::numeric_limits<double>::quiet_NaN());

  Eigen::JacobiSVD<Square<D>> svd(a, Eigen::ComputeFullU | Eigen::ComputeFullV);
  Square<D> u = svd.matrixU();
  const Square<D>& v = svd.matrixV();
  // Singular values come in decreasing order: the last column of U belongs
  // to the smallest one, the cheapest to turn the other way.
  if (u.determinant() * v.determinant() < 0) u.col(D - 1) = -u.col(D - 1);
  return u * v.transpose();
}

// Centres `subject` (k x D), scales it to centroid size 1 and turns it onto
// `reference`, in place, with the console self-check of the rotation.
template <int D>
void fitOnto(const Eigen::Ref<const Eigen::MatrixXd>& reference,
             Eigen::Ref<Eigen::MatrixXd> subject, const char* caller) {
  if (subject.cols() != D || reference.rows() != subject.rows() || reference.cols() != D) {
    throw notMatching(caller, D);
  }
  const Eigen::RowVectorXd centroid = subject.colwise().mean();
  subject.rowwise() -= centroid;
  subject /= centsize3Da(subject);

  const Square<D> roto = bestRotation<D>(reference, subject, caller);
  const Square<D> temp = roto.transpose() * roto;
  if (std::round(temp(0, 0) * 100000.0) / 100000.0 != 1.0) {
    console().echo("stemp", "Error in rotation");
    console().echo("roto", Eigen::MatrixXd(roto));
    console().echo("temp", Eigen::MatrixXd(temp));
  }
  subject = subject * roto;
}

inline void centre(Eigen::MatrixXd& x) {
  const Eigen::RowVectorXd centroid = x.colwise().mean();
  x.rowwise() -= centroid;
}

// The first reference: the sum of the raw configurations, centred and scaled
// to size 1, or, where that sum has no size, the first specimen that has one,
// centred and scaled to size 1.
template <int D>
Eigen::MatrixXd startReference(const BasicConfigStack<D>& data) {
  const Eigen::Index count = data.specimens();
  Eigen::MatrixXd reference = Eigen::MatrixXd::Zero(data.landmarks(), D);
  for (Eigen::Index i = 0; i < count; ++i) reference += data.page(i);
  centre(reference);
  const double size = centsize3Da(reference);

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
    reference /= size;
    return reference;
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
  reference /= size;
  return reference;
}

// Generalized Procrustes superimposition of `sdata` in its own memory: the
// start reference, then exactly three rounds of fitting every specimen onto
// the reference and taking their mean, scaled to size 1, as the next one.
template <int D>
void superimpose(BasicConfigStack<D>& sdata, Eigen::MatrixXd& reference, const char* caller) {
  if (sdata.empty())
    throw std::invalid_argument(std::string(caller) + ": the stack holds no specimen");
  const Eigen::Index count = sdata.specimens();
  const Eigen::Index landmarks = sdata.landmarks();

  reference = startReference(sdata);
  if (count == 1) {
    sdata.page(0) = reference;
    return;
  }

  Eigen::MatrixXd sum(landmarks, D);
  for (int iteration = 0; iteration < 3; ++iteration) {
    sum.setZero();
    for (Eigen::Index i = 0; i < count; ++i) {
      fitOnto<D>(reference, sdata.page(i), caller);
      sum += sdata.page(i);
    }
    reference = sum / static_cast<double>(count);
    reference /= centsize3Da(reference);
  }
}

}  // namespace tarvolin::procrustesfit
