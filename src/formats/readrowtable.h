#pragma once
// Reads a row table of landmarks: one specimen per row, as spreadsheets and R
// write them (CSV, semicolon- or tab-separated).
//
// The format: each row holds the specimen's ID, then its coordinates X1 Y1
// [Z1] X2 Y2 [Z2] ..., then optionally its size. The first line's
// delimiter is the table's: a tab if it holds one, else a semicolon if it
// holds one (then a decimal comma is allowed, 1,5 meaning 1.5), else a
// comma; when it holds quoted names apart by blanks alone, as R's
// write.table writes a table, runs of blanks. Fields may be quoted with
// double quotes ("a, b" keeps its comma; "" inside quotes is a quote) and
// may have blanks around them. Blank lines are skipped; lines end in the
// text's own line end (lineendof: LF, CRLF or CR). The first row is a
// header when any of its fields after the first is not a number.
//
//   specimen,x1,y1,z1,x2,y2,z2,size
//   "skull, left",1.0,2.0,3.0,4.0,5.0,6.5,2.9
//   skull_b,1.1,NA,3.0,4.1,5.2,6.4,3.0
//
// A header places the columns by their names (see tablecolumns.h): x1, y1,
// z1, ... in any order, X_1, lm1_x and the like; a z-named column makes the
// table 3D, x and y alone 2D; a last column named size, cs or centroid size
// (any case) is the size column; the first column holds the IDs unless its
// name is a coordinate's. A quoted header with one name fewer than the
// rows have fields, the first of them quoted, is R's: the IDs are its row
// names, in that first column. Without a header the first column holds the
// IDs only when one of its fields is not a number: rows of numbers alone (as
// spreadsheets in decimal-comma locales write ZOR rows, with semicolons)
// are read as ZOR rows are, with IDs "1", "2", ...; the dimension is
// options.dims, else 3, and a value count that is one more than a multiple
// of it ends in a size.
//
// text:    the whole file in memory.
// fname:   names the file in errors and becomes set.path.
// options: the dimension when the header does not give it, and the code of a
//          missing coordinate.
// Returns the set of N specimens (one per data row, in row order) with k
// landmarks: coords N x dk, where a landmark with a coordinate that is NA,
// NaN, empty or equal to options.missingCode is all NaN and flagged
// missing; size from the size column (sizeGiven) or computed. An InputError
// names the file and the line, and the specimen where it applies: a row
// whose field count differs from the first row's, a coordinate that is not
// a number, a size that is not a finite number, an empty or duplicated ID,
// a value count that does not make landmarks, a table with no data row or
// no coordinate column, a header tablecolumns refuses, a table of one row
// per landmark ("one row per landmark: reshape to one row per specimen").
//
// Example:
//   LandmarkSet set = readrowtable("id,x1,y1\na,1,2\nb,3,NA\n", "two.csv", {});
//   // set.dims == 2, set.ids == {"a", "b"}, set.coords == [1 2; NaN NaN],
//   // set.missing == [false; true]

#include <cstddef>
#include <string>
#include <string_view>

#include "formats/delimitedtext.h"
#include "formats/readcoordinate.h"
#include "landmarks/landmarkset.h"

namespace tarvolin {

LandmarkSet readrowtable(std::string_view text, const std::string& fname,
                         const ReadOptions& options);

}  // namespace tarvolin
