#pragma once
// Reads a Morphologika landmark file.
//
// The format: blocks, each opened by a bracketed header on a line of its own
// (any letter case, blanks around it allowed). [individuals] N, [landmarks]
// k and [dimensions] d (2 or 3) hold one number each; [names] N specimen
// names, one a line; [rawpoints] the N x k landmarks, one a line of d
// numbers, each specimen's k lines perhaps preceded by a line such as '#1;
// [wireframe] pairs of 1-based landmark numbers, one pair a line. [groups],
// [labels], [labelvalues], [polygons] and blocks of other names are skipped.
// A line starting with ' is a comment; blank lines are ignored; numbers are
// separated by blanks or tabs.
//
//   [individuals]
//   2
//   [landmarks]
//   2
//   [dimensions]
//   2
//   [names]
//   skull_a
//   skull_b
//   [rawpoints]
//   '#1
//   0 0
//   3 4
//   '#2
//   NA NA        <- a landmark not measured
//   1 1
//   [wireframe]
//   1 2
//
// text:    the whole file, in memory.
// fname:   names the file in errors; kept in set.path.
// options: missingCode marks a coordinate as missing, as NA and NaN do (the
//          format has no code of its own); dims is not needed, the file
//          says.
//
// Returns the set of N specimens of k landmarks in d dimensions, IDs the
// names (trimmed) or "1", "2", ..., size their centroid size, and the
// wireframe's pairs.
//
// Errors: an InputError naming the file and, where it applies, the line and
// the specimen: one of [individuals], [landmarks], [dimensions], [rawpoints]
// absent, a block given twice, a count that is not a whole number above 0,
// a dimension other than 2 or 3, [names] not holding N names, two specimens
// of one name, [rawpoints] short of N x k lines or with more, a line with
// the wrong count of numbers, text or a non-finite number where a coordinate
// belongs, a wireframe line that is not two landmark numbers from 1 to k.
//
// Example:
//   LandmarkSet set = readmorphologika(text, "skulls.txt", {});  // the file above
//   set.ids == {"skull_a", "skull_b"};  set.size(0) == std::sqrt(12.5);
//   set.missing(1, 0) == true;  set.wireframe == {{1, 2}};

#include <string>
#include <string_view>

#include "landmarks/landmarkset.h"

namespace tarvolin {

LandmarkSet readmorphologika(std::string_view text, const std::string& fname,
                             const ReadOptions& options);

}  // namespace tarvolin
