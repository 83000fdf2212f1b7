#include "landmarks/rowblocks.h"

#include <gtest/gtest.h>

namespace tarvolin {
namespace {

// Rows written through RowBlocks and read back through copyRows are the
// matrix's rows, whatever the block boundaries.
TEST(Rowblocks, RowsWrittenAndReadInBlocksAreTheMatrixRows) {
  const struct {
    Eigen::Index rows, cols, first, count;
  } cases[] = {
      {1, 1, 0, 1}, {10, 7, 3, 4}, {64, 3, 0, 64}, {65, 3, 60, 5}, {200, 31, 127, 73}, {5, 4, 2, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.rows << " x " << c.cols << " from " << c.first);
    Eigen::MatrixXd written = Eigen::MatrixXd::Zero(c.rows, c.cols);
    RowBlocks rows(written);
    for (Eigen::Index r = 0; r < c.rows; ++r) {
      for (Eigen::Index k = 0; k < c.cols; ++k) rows(r, k) = static_cast<double>(1000 * r + k);
    }
    rows.finish();
    for (Eigen::Index r = 0; r < c.rows; ++r) {
      for (Eigen::Index k = 0; k < c.cols; ++k) {
        ASSERT_EQ(written(r, k), static_cast<double>(1000 * r + k));
      }
    }
    RowMajorRows block;
    copyRows(written, c.first, c.count, block);
    ASSERT_EQ(block.rows(), c.count);
    ASSERT_EQ(block.cols(), c.cols);
    EXPECT_TRUE(block == written.middleRows(c.first, c.count));
  }
}

}  // namespace
}  // namespace tarvolin
