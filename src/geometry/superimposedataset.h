#pragma once
// Superimposes a landmark data set and keeps its size column.
//
// data: N x (dims k + 1), X1 Y1 Z1 ... Xk Yk Zk and the size column for 3D
//       data, X1 Y1 ... Xk Yk and the size column for 2D data (taken by
//       value: pass it with std::move where it is no longer needed, so that
//       its memory is given back before the fit).
// dims: 3, or 2 for flat data.
// Returns the consensus (k x dims) and the data set rebuilt from the
// superimposed configurations with the size column carried over unchanged:
// the superimposition of getpproc3 (getpproc2D for 2D data) done in the
// data set's own memory, a few specimens at a time, with the very same
// arithmetic: the data set is not held twice. For 3D data `stack` holds the
// superimposed configurations (k x 3 x N) unless withStack is false; for 2D
// data it is left empty (vertxy2D(result.data) gives them). Loading a data
// set and standardizing it both go this way.
// Throws std::invalid_argument when dims is neither 2 nor 3.
//
// Example:
//   SuperimposedDataSet s = superimposedataset(dload("skulls.txt"));
//   // s.data.col(3k) equals the file's last column
//   SuperimposedDataSet flat = superimposedataset(wings, 2);   // N x (2k + 1)

#include <Eigen/Core>

#include "platform/configstack.h"

namespace tarvolin {

struct SuperimposedDataSet {
  Eigen::MatrixXd data;
  ConfigStack stack;
  Eigen::MatrixXd mean;
};

SuperimposedDataSet superimposedataset(Eigen::MatrixXd data, int dims = 3, bool withStack = true);

}  // namespace tarvolin
