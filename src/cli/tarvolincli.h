#pragma once
// The batch command line, tarvolin-cli: the standardization of 2D and 3D
// landmark data without a window.
//
//   tarvolin-cli info FILE [INPUT]
//   tarvolin-cli check FILE [INPUT] [--x TABLE:COLUMN] [--groups TABLE:COLUMN] [--json] [-o OUT]
//   tarvolin-cli superimpose FILE [INPUT] [--to FORMAT] [-o OUT]
//   tarvolin-cli standardize FILE [INPUT] [--x cs|XLIST|TABLE:COLUMN]
//                            [--transform none|ln|log10] [--standard VALUE] [--keep-size]
//                            [--to FORMAT] [-o OUT]
//   tarvolin-cli pca FILE [INPUT] [--of superimposed|standardized] [--x ...] [--transform ...]
//                    [--standard VALUE] [--groups G] [--components K] [--json | --to csv]
//                    [--loadings CSV] [--shapes FILE] [--plot PICTURE [--pcs I,J]] [-o OUT]
//   tarvolin-cli convert FILE [INPUT] [--missing keep] [--to FORMAT] [-o OUT]
//   tarvolin-cli run SCRIPT [--strict] [--figures DIR]
//
// INPUT: [--tps | --format zor|tps|nts|morphologika|csv|fcsv|mrkjson] [--dim 2|3]
//        [--missing refuse|drop-specimens|drop-landmarks|estimate] [--missing-code V]
// FILE is a file in any of those formats, told from its content, or a folder
// of 3D Slicer markups. FORMAT is zor (the default), csv, tps, nts or
// morphologika.
//
// Results go to `out`, or with -o to a file written whole or not at all.
// What was done about missing landmarks is said on `err`. Errors are one line
// on `err`, "tarvolin-cli: FILE:LINE: what is wrong" (a list of incomplete
// specimens follows on further lines). Returns the exit status: 0 done, 2
// bad input or usage, 1 anything else.
//
// Example:
//   const char* argv[] = {"tarvolin-cli", "info", "examples/skulls_zor.txt"};
//   int status = runcli(3, argv, std::cout, std::cerr);

#include <ostream>

namespace tarvolin {

int runcli(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

}  // namespace tarvolin
