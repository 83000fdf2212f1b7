#pragma once
// The one way the column-major data set (one specimen per row) is walked by
// specimen: through row-major blocks of rows, so that each column is read
// or written a cache line at a time rather than a number at a time.
//
// copyRows reads: rows [first, first + count) of `source` into `block`,
// column by column.
//
// rowsToPages and pagesToRows move `count` specimens between the rows of a
// data set (D k coordinates per row, X1 Y1 [Z1] X2 ...) and the pages of a
// stack, a column of the data set a cache line at a time; walked a block of
// some 16 specimens at a time, a block's pages stay in cache.
//
// RowBlocks writes: it fills a column-major matrix row by row, as a text gives the numbers of a
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
//
//   RowMajorRows block;
//   for (first = 0; first < data.rows(); first += 16) {
//     copyRows(data, first, std::min<Eigen::Index>(16, data.rows() - first), block);
//     use(block.row(0) ...);
//   }

#include <Eigen/Core>
#include <algorithm>

#include "landmarks/configstack.h"

namespace tarvolin {

using RowMajorRows = Eigen::Matrix<double, Eigen::Dynamic, Eigen::Dynamic, Eigen::RowMajor>;

inline void copyRows(const Eigen::Ref<const Eigen::MatrixXd>& source, Eigen::Index first,
                     Eigen::Index count, RowMajorRows& block) {
  block.resize(count, source.cols());
  for (Eigen::Index c = 0; c < source.cols(); ++c) {
    const double* column = source.col(c).data() + first;
    for (Eigen::Index r = 0; r < count; ++r) block(r, c) = column[r];
  }
}

template <int D>
void rowsToPages(const Eigen::Ref<const Eigen::MatrixXd>& rows, Eigen::Index first,
                 Eigen::Index count, BasicConfigStack<D>& pages, Eigen::Index firstPage) {
  for (Eigen::Index j = 0; j < pages.landmarks(); ++j) {
    for (int c = 0; c < D; ++c) {
      const double* column = rows.col(D * j + c).data() + first;
      for (Eigen::Index b = 0; b < count; ++b) pages(j, c, firstPage + b) = column[b];
    }
  }
}

template <int D>
void pagesToRows(const BasicConfigStack<D>& pages, Eigen::Index firstPage, Eigen::Index count,
                 Eigen::MatrixXd& rows, Eigen::Index first) {
  for (Eigen::Index j = 0; j < pages.landmarks(); ++j) {
    for (int c = 0; c < D; ++c) {
      double* column = rows.col(D * j + c).data() + first;
      for (Eigen::Index b = 0; b < count; ++b) column[b] = pages(j, c, firstPage + b);
    }
  }
}

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
  RowMajorRows block_;
  Eigen::Index first_ = 0;
  Eigen::Index count_ = 0;
};

}  // namespace tarvolin
