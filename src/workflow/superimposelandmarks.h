#pragma once
// Superimposes the landmark data set read from a file, refusing a result
// that is not finite.
//
// data: N x (3k + 1), as superimposedataset takes it.
// path: the file the data came from, named in the error.
// Returns what superimposedataset returns. Data whose superimposition holds a
// number that is not finite (coordinates so large or so small that their
// sizes cannot be computed) are an InputError naming the file: such a result
// is never stored, drawn or written.
//
// Example:
//   SuperimposedDataSet s = superimposelandmarks(std::move(file.data), file.path);

#include <Eigen/Core>
#include <string>

#include "geometry/superimposedataset.h"

namespace tarvolin {

SuperimposedDataSet superimposelandmarks(Eigen::MatrixXd data, const std::string& path);

}  // namespace tarvolin
