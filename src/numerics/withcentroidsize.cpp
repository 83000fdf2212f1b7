#include "numerics/withcentroidsize.h"

#include <stdexcept>

#include "numerics/centsize3Da.h"

namespace tarvolin {

Eigen::MatrixXd withcentroidsize(const Eigen::MatrixXd& rows,
                                 const Eigen::Ref<const Eigen::VectorXd>& scale) {
  if (rows.cols() % 3 != 0 || scale.size() != rows.rows()) {
    throw std::invalid_argument(
        "withcentroidsize: rows of 3k coordinates and one scale per row are needed");
  }
  const Eigen::Index k = rows.cols() / 3;
  Eigen::MatrixXd data(rows.rows(), rows.cols() + 1);
  data.leftCols(rows.cols()) = rows;
  Eigen::MatrixXd configuration(k, 3);
  for (Eigen::Index i = 0; i < rows.rows(); ++i) {
    for (Eigen::Index j = 0; j < k; ++j) configuration.row(j) = rows.block(i, 3 * j, 1, 3);
    data(i, rows.cols()) = centsize3Da(configuration) * scale(i);
  }
  return data;
}

}  // namespace tarvolin
