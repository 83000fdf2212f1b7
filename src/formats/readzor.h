#pragma once
// Reads ZOR rows, one specimen per line, into a landmark set.
//
// The format is the numeric text matrix of dload: each line holds one
// specimen's coordinates and then its size, X1 Y1 Z1 ... Xk Yk Zk size in 3D
// or X1 Y1 ... Xk Yk size in 2D; from the second line on a blank line ends
// the data (set.notice then says how many lines after it were not read).
// Here a coordinate may also be NA or NaN (any letter case), or equal the
// missing-value code of `options`: the landmark was not measured.
//
//   12.1 3.0 -4.5 NA NA NA 1.873      <- specimen 1: landmark 2 missing
//   11.9 2.8 -4.4 7.1 2.2 0.4 1.902   <- specimen 2
//
// text:    the file's content; fname names it in errors and in set.path.
// options: dims 2 or 3 (0 reads 3D); the missing-value code.
// Returns the set with IDs "1", "2", ... (the line numbers) and the file's
// size column. A row that is not d k + 1 numbers, text that is not a number,
// a number that is not finite, a size that is not a number: an InputError
// naming the file and line.
//
// readzorfile(path, options) reads the file itself, line by line through a
// small buffer (a large data set then costs its matrix in memory, not its
// text as well), and whole only when it marks missing landmarks with words.
// Lines end in the file's own line end (lineendof): LF, CRLF, or the lone CR
// of old Macintosh files, with or without a final LF.
//
// Example:
//   LandmarkSet s = readzor("0 0 1 0 0 1 1.4\n1 1 2 1 1 2 1.5\n", "a.txt", {.dims = 2});
//   // s.specimens() == 2, s.landmarks() == 3, s.size == [1.4; 1.5]

#include <string>
#include <string_view>

#include "landmarks/landmarkset.h"

namespace tarvolin {

LandmarkSet readzor(std::string_view text, const std::string& fname, const ReadOptions& options);

LandmarkSet readzorfile(const std::string& path, const ReadOptions& options);

}  // namespace tarvolin
