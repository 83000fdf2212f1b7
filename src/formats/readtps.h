#pragma once
// Reads a TPS landmark file: the field's most common format.
//
// The format: a sequence of records, one per specimen. A record opens with a
// line LM=n (2D) or LM3=n (3D), keyword in any letter case, followed by n
// lines of 2 or 3 numbers separated by blanks or tabs. Optionally CURVES=c
// (or OUTLINES=c) follows, then c blocks of POINTS=m and m such lines: points
// along outlines, read after the landmarks as semilandmarks. Other lines of
// a record: IMAGE=name, ID=text, SCALE=s (the factor from the coordinates'
// units to real ones), COMMENT= and VARIABLES= (skipped). Line ends are LF,
// CRLF or a lone CR.
//
//   LM=2
//   10.5 20
//   NA NA                <- a landmark not measured
//   CURVES=1
//   POINTS=1
//   13 24.25
//   IMAGE=photos/skull_a.jpg
//   ID=skull_a
//   SCALE=0.01
//   LM=2
//   ...
//
// text:    the whole file, in memory.
// fname:   names the file in errors; kept in set.path.
// options: missingCode marks a coordinate as missing, as NA and NaN always
//          do. The dimension is the file's: LM3= records are 3D, LM= records
//          2D unless every coordinate line of the first one holds three
//          numbers, as some 3D digitizers write them.
//
// Returns the set of N records (N x d k coordinates as written, the SCALE=
// factors apart in set.scale, empty when all are 1). k is the landmarks plus
// the curve points, and set.semilandmark flags the curve points when there
// are any. Each specimen's ID is its ID=, else (no ID= line, or an empty
// one) its IMAGE= as written, else its position "1", "2", .... Size is the
// centroid size times the scale.
//
// Errors: an InputError naming the file, the line and, where it applies, the
// record and its ID: no LM= record, a count that is not a whole number, a
// record short of coordinate lines or with more than it declares, a line
// with the wrong count of numbers, text or a non-finite number where a
// coordinate belongs, a SCALE= that is not a positive number, 2D and 3D
// records mixed, records with different counts of landmarks or curve points,
// no landmark at all, or two records with one ID (where one of them is
// numbered, saying so and why: no ID=, or an empty one on the line named).
//
// Example:
//   LandmarkSet set = readtps("LM=2\n0 0\n3 4\nID=a\nSCALE=2\n", "a.tps", {});
//   set.dims == 2;  set.ids == {"a"};  set.coords == [0 0 3 4];
//   set.size(0) == 2 * std::sqrt(12.5);   // the centroid size times SCALE

#include <string>
#include <string_view>

#include "landmarks/landmarkset.h"

namespace tarvolin {

LandmarkSet readtps(std::string_view text, const std::string& fname, const ReadOptions& options);

}  // namespace tarvolin
