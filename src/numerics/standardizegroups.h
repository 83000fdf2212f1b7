#pragma once
// Regression standardization with the pooled within-group slope, for data
// sets of several groups (species, sexes, populations) whose x values differ
// between the groups: for every column i but the last,
// y(j,i) = data(j,i) - b_i (t(j) - tfixed), where
//   b_i = sum_g sum_{j in g} (t_j - tbar_g)(data_ji - ybar_gi)
//         / sum_g sum_{j in g} (t_j - tbar_g)^2,
// tbar_g and ybar_gi the means of group g. Differences between the groups'
// means do not tilt the slope, as they do the common slope of standardsize.
//
// data:    m x n, one row per specimen (coordinates, then the size column);
//          taken by value and standardized in its own memory.
// t:       the x-variable, m values, t(j) belonging to row j.
// tfixed:  the standard value, on the scale of t.
// groupOf: m values, the index into names of each specimen's group.
// names:   the groups' names, for messages. With one group the result is
//          standardsize's, bit for bit.
// Returns y, m x n: every specimen moved along the pooled slope from its own
// x value to tfixed; the last column is copied unchanged. And tvect,
// (n - 1) x 2: each column's pooled slope, and as intercept the value at
// tfixed of the line with that slope through the whole data set's means
// (mean of column i minus b_i (mean of t - tfixed)), which is the mean of
// column i of y.
// Throws InputError (naming no file; the caller adds it) when t or groupOf
// does not hold one value per row, when a group has one specimen only, when
// x is constant within every group, or, in standardsize's words, when tfixed
// lies so far outside t that the result cannot be computed.
//
// Example:
//   t = (1, 2, 3, 2, 4, 6), groupOf = (0, 0, 0, 1, 1, 1), tfixed = 2, a
//   column (1, 2, 6, 10, 11, 15) and a last column: group 0 gives
//   sxy 5 and sxx 2, group 1 sxy 10 and sxx 8, so b = 15/10 = 1.5; that
//   column of y is (2.5, 2, 4.5, 10, 8, 9) and its row of tvect (1.5, 6).

#include <Eigen/Core>
#include <string>
#include <vector>

#include "numerics/standardsize.h"

namespace tarvolin {

Standardized standardizegroups(Eigen::MatrixXd data, const Eigen::Ref<const Eigen::VectorXd>& t,
                               double tfixed, const std::vector<int>& groupOf,
                               const std::vector<std::string>& names);

}  // namespace tarvolin
