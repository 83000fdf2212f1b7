#pragma once
// The batch command line, tarvolin-cli: the 3D standardization without a
// window.
//
//   tarvolin-cli info FILE [--tps]
//   tarvolin-cli superimpose FILE [--tps] [-o OUT]
//   tarvolin-cli standardize FILE [--tps] [--x cs|XLIST] [--transform none|ln|log10]
//                            [--standard VALUE] [--keep-size] [-o OUT]
//
// Results go to `out`, or with -o to a file written whole or not at all.
// Errors are one line on `err`, "tarvolin-cli: FILE:LINE: what is wrong".
// Returns the exit status: 0 done, 2 bad input or usage, 1 anything else.
//
// Example:
//   const char* argv[] = {"tarvolin-cli", "info", "examples/skulls_zor.txt"};
//   int status = runcli(3, argv, std::cout, std::cerr);

#include <ostream>

namespace tarvolin {

int runcli(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

}  // namespace tarvolin
