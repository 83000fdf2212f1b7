#pragma once
// Reads a numeric text matrix file: one matrix row per line.
//
// The format: plain text, lines ended by a line feed (a carriage return
// before it is allowed) or, in files of old Macintosh programs, by a lone
// carriage return: the file's own line end (lineendof). A UTF-8 byte-order
// mark at the start is passed over. Each line holds the numbers of one row,
// separated by blanks, tabs or commas; every row has as many numbers as the
// first. From the second line on, a blank line ends the matrix: it and
// everything after it are ignored, and `notice`, where given, then says so
// ("line 3 is blank: the 2 lines after it were not read") when lines that
// are not blank follow it. No header, no comments.
//
//   12.1 3.0 -4.5 ... 1.873     <- row 1 (a ZOR landmark file: X1 Y1 Z1 ... size)
//   11.9 2.8 -4.4 ... 1.902     <- row 2
//                               <- blank line: the end
//   notes the reader never sees
//
// dload(fname) returns the R x K matrix read. A file that cannot be opened
// gives the 1 x 1 matrix -1 (and, where `openError` is given, the reason in
// it). Content that is not such a matrix is an InputError naming the file and
// the line: a line whose count of numbers differs from the first line's, a
// line holding text, a number that is not finite, a file with no numbers, a
// file saved as UTF-16.
//
// parsenumericmatrix(text, fname) does the same on text already in memory;
// `fname` only names the file in errors.
//
// Example:
//   dload("xlist.txt")    -> 40 x 1 column, one value per line
//   dload("missing.txt")  -> [-1]

#include <Eigen/Core>
#include <string>
#include <string_view>

namespace tarvolin {

Eigen::MatrixXd dload(const std::string& fname, std::string* openError = nullptr,
                      std::string* notice = nullptr);

Eigen::MatrixXd parsenumericmatrix(std::string_view text, const std::string& fname,
                                   std::string* notice = nullptr);

// The notice of a blank line that ended the data with `unread` lines that
// are not blank after it: "line 3 is blank: the 2 lines after it were not
// read".
std::string blanklinenotice(long blankLine, long unread);

}  // namespace tarvolin
