#pragma once
// Which of the two files that say which landmarks slide a text is, told by
// its content: Load sliders... takes either.
//
// The first row of numbers decides, found as the readers find it (blank
// lines, lines starting with # and a first row of words passed over; fields
// separated by blanks, tabs, commas or semicolons): one number makes a
// surface file (one sliding landmark per line), any other count a sliders
// file (before, sliding point, after), whose reader then names a row that
// does not hold three. A text without a row of numbers is a sliders file
// too, one that names no point.
//
// Example:
//   slidersfilekind("# orbit\n3 15 16\n") == SlidersFileKind::curves;
//   slidersfilekind("point\n7\n8\n") == SlidersFileKind::surface;

#include <string_view>

namespace tarvolin {

enum class SlidersFileKind { curves, surface };

SlidersFileKind slidersfilekind(std::string_view text);

}  // namespace tarvolin
