#pragma once
// Fills the missing landmarks of a landmark set by warping the mean shape of
// its complete specimens onto each incomplete one with a thin-plate spline.
//
// The mean shape M (k x d) is the consensus of the complete specimens
// (getpproc3, or getpproc2D for 2D data). For a specimen S with present
// landmarks P, the spline f(x) = a + A x + sum_{i in P} w_i U(|x - M_i|)
// maps M_i exactly onto S_i for every i in P and bends least doing so; its
// kernel is U(r) = r in 3D and U(r) = r^2 log r^2 in 2D (U(0) = 0). Its
// coefficients solve the bordered system
//   [K  Q] [w]   [S_P]        K(i,j) = U(|M_i - M_j|), i, j in P,
//   [Q' 0] [a] = [ 0 ]        Q = [1 M_P], p x (d + 1).
// S's missing landmark j becomes f(M_j). An S that is an affine image of M
// gets its missing landmarks exactly where that affine map puts them.
//
// The spline of the whole mean shape is factored once; each pattern of
// missing landmarks then costs a solve for the inverse's columns at them (a
// spline with some points left out is the whole one with their weights held
// at zero). Only when that system is singular (landmarks at one point of the
// mean shape) does each pattern get a system of its own.
//
// set:      a landmark set whose missing landmarks are flagged or NaN. Only
//           its missing coordinates are written; present coordinates stay as
//           they are, bit for bit. Sizes and missing flags are left to the
//           caller (resolvemissing recomputes them).
// progress: when given, called after each group of specimens missing the
//           same landmarks with the count of incomplete specimens done and
//           their total, for showing a long run's progress.
// Returns a summary for the user: `estimated 3 landmarks: specimen "b"
// landmarks 3, 7; specimen "c" landmark 2`, naming the first 50 specimens
// and counting the rest; "" when nothing is missing.
// Throws InputError naming set.path when no specimen is complete, when a
// complete specimen has no size (its landmarks all at one point), or, naming
// the specimen, when fewer than d + 1 of its landmarks are present, when its
// present landmarks lie on one line (2D) or in one plane (3D) of the mean
// shape, or when two of them coincide there. Nothing is written then.
//
// Example:
//   std::string done = estimatemissing(set, notes);
//   finishlandmarkset(set);   // sizes from the completed coordinates

#include <cstddef>
#include <functional>
#include <string>

#include "core/textsink.h"
#include "landmarks/landmarkset.h"

namespace tarvolin {

using EstimateProgress = std::function<void(size_t done, size_t total)>;

std::string estimatemissing(LandmarkSet& set, const TextSink& notes,
                            const EstimateProgress& progress = {});

}  // namespace tarvolin
