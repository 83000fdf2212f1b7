#pragma once
// Tells a landmark file's format from its content, not its name.
//
// What each format starts with, in the order it is looked for:
//   mrkjson       the text is a JSON object: "{" before anything else
//   fcsv          a "# Markups fiducial file" or "# columns =" header line
//   morphologika  a bracketed block header: [individuals], [landmarks], ...
//   tps           a line that begins with LM= or LM3= (any letter case)
//   nts           a first line that is a " comment, or the parameter line
//                 1 N[L] P[L] 0|1 [code] [DIM=d], perhaps after ' comment
//                 lines (.dta files of 3D digitizing programs)
//   csv           fields apart by semicolons, or a first line with commas
//                 or tabs and a field that is not a number (a header or an
//                 ID; "id","x1",... as R writes it too, and "x1" "y1" ...
//                 as its write.table does, unless an NTS parameter line
//                 follows)
//   zor           rows of numbers only, NA and NaN among them
// Only the first lines are looked at (about 64 KB), so detection costs the
// same for any size of file; lines end in the text's own line end
// (lineendof), and a UTF-8 byte-order mark is passed over. A text with no
// line that is not blank, a UTF-16 text, or a first line that fits no
// format ("is not a landmark file in any format Tarvolin reads; line 1
// ...") is an InputError naming the file.
//
// Example:
//   detectlandmarkformat("LM3=2\n1 2 3\n4 5 6\nID=a\n", "a.txt") -> LandmarkFormat::tps
//   detectlandmarkformat("id,x1,y1,z1\n", "a.csv")                -> LandmarkFormat::csv

#include <string>
#include <string_view>

#include "landmarks/landmarkset.h"

namespace tarvolin {

LandmarkFormat detectlandmarkformat(std::string_view text, const std::string& fname);

// The name the command line uses for a format: "zor", "tps", ...
std::string_view landmarkformatname(LandmarkFormat format);

}  // namespace tarvolin
