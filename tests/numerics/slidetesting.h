#pragma once
// The slide of semilandmarks written out from its definition with dense
// matrices, for the tests to compare the numerics with: the coordinates
// stacked by coordinate, U of one column per direction, B block-diagonal,
// every inverse taken whole.

#include <Eigen/Core>
#include <random>
#include <vector>

#include "landmarks/sliders.h"

namespace tarvolin::testing {

// A shape of 5 fixed landmarks in general position, then a curve of
// `curve` points (an arc, rising in 3D) whose inner points slide between
// their neighbours, then in 3D a patch of 12 points that slide over the
// surface; `sliders` says so.
Eigen::MatrixXd slidingShape(int dims, int curve, Sliders& sliders, unsigned seed);

Eigen::MatrixXd perturbed(const Eigen::MatrixXd& x, std::mt19937& engine, double amount);

// The upper-left p x p block of the inverse of [[K, 1, R], [1', 0, 0], [R', 0, 0]].
Eigen::MatrixXd denseBending(const Eigen::MatrixXd& r);

// U (p d x directions): a curve point's direction from its neighbours on the
// curve, a surface point's first two principal axes of itself and its four
// nearest points.
Eigen::MatrixXd denseDirections(const Eigen::MatrixXd& y, const Sliders& sliders);

Eigen::VectorXd stacked(const Eigen::MatrixXd& x);

Eigen::MatrixXd unstacked(const Eigen::VectorXd& v, Eigen::Index p);

Eigen::MatrixXd denseSlide(const Eigen::MatrixXd& y, const Eigen::MatrixXd& r,
                           const Sliders& sliders, SlideCriterion criterion);

// The proper rotation of `subject` (k x d) onto `target`.
Eigen::MatrixXd properRotation(const Eigen::MatrixXd& target, const Eigen::MatrixXd& subject);

double centroidSize(const Eigen::MatrixXd& x);

// The projection onto the tangent space at the mean shape r (at norm 1):
// x (I - m m') + m, each configuration stacked.
void projectOntoTangent(std::vector<Eigen::MatrixXd>& y, const Eigen::MatrixXd& r);

// The fit with sliding, step by step as the field's reference analysis
// does it; returns the specimens and sets the mean and the rounds done.
std::vector<Eigen::MatrixXd> denseSlideFit(std::vector<Eigen::MatrixXd> y, const Sliding& slide,
                                           Eigen::MatrixXd& mean, int& rounds);

// The refit order, step by step from its definition: a plain fit to
// convergence (centred, unit size, turned onto the first specimen, then onto
// the unit-size mean until the summed squared distances to it change by at
// most 1e-12, at most 200 rounds); then each round slides every specimen
// against the mean, centres it, scales it to unit size and turns it onto
// the mean once, and takes the unit-size mean of the specimens.
std::vector<Eigen::MatrixXd> denseRefitFit(std::vector<Eigen::MatrixXd> y, const Sliding& slide,
                                           Eigen::MatrixXd& mean, int& rounds, double& lastChange);

}  // namespace tarvolin::testing
