#pragma once
// The Procrustes fits written once for D = 2 and D = 3 coordinates:
// svdrot2 / svdrot2D, partialprocrustes3a / partialprocrustes2D and
// getpproc3 / getpproc2D are these routines, so flat data is superimposed
// by the same steps as 3D data, with a rotation that keeps to the plane.
// Internal to the geometry layer: callers use the named routines. The maths
// is in procrustesfit.cpp, fitcolumns.cpp and superimposepages.cpp, made
// for D = 2 and D = 3 there.
//
// caller: the routine's name, for the messages of std::invalid_argument.
// notes:  where the self-check of a rotation writes ("stemp = Error in
//         rotation", then roto and temp) when a fit met input that is not
//         finite.
//
// Example:
//   GpaReport done = superimposeRows<3>(data, mean, "getpproc3", notes, Rounds{});

#include <Eigen/Core>
#include <stdexcept>

#include "core/textsink.h"
#include "landmarks/configstack.h"
#include "numerics/gparounds.h"

namespace tarvolin::procrustesfit {

template <int D>
using Square = Eigen::Matrix<double, D, D>;

std::invalid_argument notMatching(const char* caller, int dims);

// The proper rotation R minimising |subject * R - reference|^2, from the
// D x D cross-product a = subject^T * reference; a matrix of NaN where a is
// not finite.
template <int D>
Square<D> rotationOf(const Square<D>& a);

// The proper rotation R minimising |subject * R - reference|^2 (k x D each).
template <int D>
Square<D> bestRotation(const Eigen::Ref<const Eigen::MatrixXd>& reference,
                       const Eigen::Ref<const Eigen::MatrixXd>& subject, const char* caller);

// The self-check of a rotation: R^T R must have 1 at (0, 0), to five
// decimals. It has not where the fit met input that is not finite.
template <int D>
void checkRotation(const Square<D>& roto, const TextSink& notes);

// Centres `subject` (k x D), scales it to centroid size 1 and turns it onto
// `reference`, in place, with the self-check of the rotation.
template <int D>
void fitOnto(const Eigen::Ref<const Eigen::MatrixXd>& reference,
             Eigen::Ref<Eigen::MatrixXd> subject, const char* caller, const TextSink& notes);

// How many rounds the superimposition does (GpaRounds): by default exactly
// three, as the standardization is defined; with converge, rounds go on
// until the change of the mean shape is at most `tolerance`, and at most
// maxRounds of them. What was done comes back as a GpaReport.
using Rounds = GpaRounds;

// Generalized Procrustes superimposition of the specimens of a stack in its
// own memory (superimposePages in superimposepages.h says how).
template <int D>
GpaReport superimpose(BasicConfigStack<D>& sdata, Eigen::MatrixXd& reference, const char* caller,
                      const TextSink& notes, const Rounds& rounds = {});

// The same superimposition of the specimens of a data set (N x (D k + 1),
// one specimen per row, the size column last), in the data set's memory.
template <int D>
GpaReport superimposeRows(Eigen::MatrixXd& data, Eigen::MatrixXd& reference, const char* caller,
                          const TextSink& notes, const Rounds& rounds = {});

}  // namespace tarvolin::procrustesfit
