#pragma once
// Checks that a matrix read from a file is a landmark data set that can be
// superimposed.
//
// data:  the matrix read, one row per specimen.
// fname: the file, named in errors.
// rowsAreLines: true when row i was line i of the file (the ZOR format), so
//         that errors name the line; false for a TPS file, whose rows are
//         records.
// dims:  3, or 2 for flat data.
// Throws InputError when the rows do not hold dims k + 1 numbers with k >= 2
// (X, Y[, Z] of each landmark and the size), when a specimen has all its
// landmarks at one point (centroid size 0: it cannot be scaled to size 1),
// when its coordinates are so small that its centroid size underflows to 0
// or so large that it overflows, or when its size (the last number) is not
// finite or not above 0.
// Throws std::invalid_argument when dims is neither 2 nor 3.
//
// Example:
//   checklandmarkdata(dload(path), path, true);
//   checklandmarkdata(wings, "wings.txt", true, 2);   // rows X1 Y1 ... Xk Yk size

#include <Eigen/Core>
#include <string>

namespace tarvolin {

void checklandmarkdata(const Eigen::MatrixXd& data, const std::string& fname, bool rowsAreLines,
                       int dims = 3);

}  // namespace tarvolin
