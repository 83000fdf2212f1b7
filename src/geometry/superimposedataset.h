#pragma once
// Superimposes a landmark data set and keeps its size column.
//
// data: N x (3k + 1), X1 Y1 Z1 ... Xk Yk Zk and the size column (taken by
//       value: pass it with std::move where it is no longer needed, so that
//       its memory is given back before the fit).
// Returns the consensus (k x 3), the superimposed stack (k x 3 x N) and the
// data set rebuilt from that stack with the size column carried over
// unchanged: vertxy3D, getpproc3, then xyzfromvert3 with the old last column.
// Loading a data set and standardizing it both go this way.
//
// Example:
//   SuperimposedDataSet s = superimposedataset(dload("skulls.txt"));
//   // s.data.col(3k) equals the file's last column

#include <Eigen/Core>

#include "platform/configstack.h"

namespace tarvolin {

struct SuperimposedDataSet {
  Eigen::MatrixXd data;
  ConfigStack stack;
  Eigen::MatrixXd mean;
};

SuperimposedDataSet superimposedataset(Eigen::MatrixXd data);

}  // namespace tarvolin
