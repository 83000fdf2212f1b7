#pragma once
// Reads an NTSYSpc matrix file of landmark coordinates.
//
// The format: lines whose first non-blank character is " or ' are
// comments, wherever they stand. The first other line is the parameter line
// `1 N[L] P[L] M [code] [DIM=d]` (letters in any case): 1 for a rectangular
// matrix, N rows (specimens), P columns (k landmarks times d dimensions), an
// L after N or P when labels for the rows or the columns follow, M 1 when a
// missing-value code follows (0 when none does), DIM= the dimension. Then
// the N row labels (the specimen IDs) and the P column labels, separated by
// any white space, and the N x P numbers row by row, in any line layout.
//
//   " two skulls, two landmarks, 3D
//   1 2L 6 1 -999 DIM=3
//   skull_a skull_b
//   1 2 3 4 5 6.5
//   -999 -999 -999 4 5 6      <- landmark 1 not measured
//
// text:    the whole file, in memory.
// fname:   names the file in errors; kept in set.path.
// options: dims gives the dimension when the file has no DIM= (2 or 3);
//          missingCode marks a coordinate as missing, as the declared code,
//          NA and NaN do.
//
// Returns the set of N specimens of k = P / d landmarks, IDs the row labels
// or "1", "2", ..., size their centroid size. Without DIM= or options.dims,
// d is 2 when P is divisible by 2 only, 3 when by 3 only.
//
// Errors: an InputError naming the file and, where it applies, the line and
// the specimen: no parameter line, a matrix type other than 1, a count that
// is not a whole number, N or P 0, a dimension the file and caller leave
// open, P not divisible by d, counts the text is too short to hold, labels
// or numbers running out (with how many were found and expected), numbers
// after the matrix, text or a non-finite number where a coordinate belongs,
// two rows with one label.
//
// Example:
//   LandmarkSet set = readnts("1 1L 4 0 DIM=2\na\n0 0 3 4\n", "a.nts", {});
//   set.ids == {"a"};  set.landmarks() == 2;  set.size(0) == std::sqrt(12.5);

#include <string>
#include <string_view>

#include "landmarks/landmarkset.h"

namespace tarvolin {

LandmarkSet readnts(std::string_view text, const std::string& fname, const ReadOptions& options);

}  // namespace tarvolin
