#pragma once
// Superimposes a landmark data set read from a file (or standardized from
// one), refusing a result that is not finite.
//
// data: N x (d k + 1), as superimposedataset takes it; dims: d, 2 or 3.
// path: the file the data came from, named in the error.
// Returns what superimposedataset returns (the stack only where withStack). A superimposition that
// holds a number that is not finite is an InputError naming the file: such a result is never
// stored, drawn or written.
//
// Example:
//   SuperimposedDataSet s = superimposelandmarks(std::move(file.data), file.path);

#include <Eigen/Core>
#include <string>

#include "geometry/superimposedataset.h"

namespace tarvolin {

SuperimposedDataSet superimposelandmarks(Eigen::MatrixXd data, const std::string& path,
                                         int dims = 3, bool withStack = true);

}  // namespace tarvolin
