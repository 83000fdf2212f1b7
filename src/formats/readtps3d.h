#pragma once
// Reads a TPS-style file of 3D landmark configurations.
//
// The format: each specimen is a record introduced by the keyword LM= (or
// LM3=, or L= at the start of a line after optional blanks or tabs; any
// letter case) followed by the landmark count k and, on the rest of that
// line, an optional name. The first record's L= may stand anywhere; a later
// L= inside a line (MODEL=3, COMMENT=L=2) is text, not a keyword. Then come
// 3k numbers, X1 Y1 Z1 ... Xk Yk Zk, separated by any white space, usually one
// landmark per line. Any other text between records is skipped (IMAGE=, ID=,
// comments); a line SCALE=s after a record's coordinates gives that record's
// scale factor (an empty SCALE= gives none). A file in which some records
// have a scale factor and others not is a MixedScaleError (see
// refusemixedscales.h) unless ignoreScale, which reads every record with
// the factor 1.
//
//   LM3=2 skull_a
//   1.0 2.0 3.0
//   4.0 5.0 6.5
//   IMAGE=skull_a.ply
//   ID=1
//   SCALE=0.5
//   LM3=2 skull_b
//   ...
//
// parsetps3D(text, fname) reads such a file's text; `fname` names the file in
// errors. A file that is not such a file is an InputError naming the file
// and, where it applies, the line and the record: no keyword at all, a record
// whose landmark count differs from the first record's, a count larger than
// the file could hold, a record with fewer than 3k numbers, a number that is
// not finite.
//
// Example:
//   TpsFile f = parsetps3D("LM3=1\n1 2 3\nLM3=1\n4 5 6\n", "two.tps");
//   // f.y == [1 2 3; 4 5 6], f.namelist == {"\n", "\n"}, f.scale == [1; 1]

#include <Eigen/Core>
#include <string>
#include <string_view>
#include <vector>

namespace tarvolin {

struct TpsFile {
  bool chosen = false;  // false when the open dialog was cancelled
  Eigen::MatrixXd y;    // N x 3k: one row per record, X1 Y1 Z1 ... Xk Yk Zk
  std::string fname;    // the chosen file's name, without its folder
  std::string path;     // folder and name
  std::vector<std::string>
      namelist;           // each record's keyword-line text after the count, line end included
  Eigen::VectorXd scale;  // each record's SCALE= factor, 1 where it has none
  std::string openError;  // why the chosen file could not be opened, else empty
};

TpsFile parsetps3D(std::string_view text, const std::string& fname, bool ignoreScale = false);

}  // namespace tarvolin
