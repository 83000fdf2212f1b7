#pragma once
// Fills a column-major matrix row by row, as a text gives the numbers of a
// data set, through a row-major block of 64 rows: a row written straight
// into the matrix would touch one cache line per number, each block copied
// in touches one per 64 numbers.
//
// Rows are written in order (each row from the one before or a later one);
// finish() copies the last block in.
//
// Example:
//   Eigen::MatrixXd coords(1000, 1500);
//   RowBlocks rows(coords);
//   for (r ...) for (c ...) rows(r, c) = value;
//   rows.finish();

#include <Eigen/Core>
#include <algorithm>

namespace tarvolin {

class RowBlocks {
 public:
  explicit RowBlocks(Eigen::MatrixXd& target) : target_(target) {}

  double& operator()(Eigen::Index row, Eigen::Index column) {
    if (row >= first_ + count_) {
      finish();
      first_ = row;
      count_ = std::min<Eigen::Index>(kRows, target_.rows() - row);
      if (block_.rows() < count_ || block_.cols() != target_.cols()) {
        block_.resize(count_, target_.cols());
      }
    }
    return block_(row - first_, column);
  }

  void finish() {
    if (count_ > 0) target_.middleRows(first_, count_) = block_.topRows(count_);
    first_ += count_;
    count_ = 0;
  }

 private:
  static constexpr Eigen::Index kRows = 64;
  Eigen::MatrixXd& target_;
  Eigen::Matrix<double, Eigen::Dynamic, Eigen::Dynamic, Eigen::RowMajor> block_;
  Eigen::Index first_ = 0;
  Eigen::Index count_ = 0;
};

}  // namespace tarvolin
