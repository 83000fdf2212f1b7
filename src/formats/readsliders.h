#pragma once
// Reads the files that say which landmarks slide.
//
// A sliders file has one row per sliding point: three landmark numbers
// (from 1), the point before, the sliding point and the point after, as the
// field's tools write them, separated by blanks, tabs, commas or
// semicolons. Blank lines and lines starting with # are skipped, as is a
// first row of words (a header such as "before,slide,after").
//
//   # the outline of the orbit
//   3 15 16
//   15 16 17
//
// A surface file has one landmark number per line: the points that slide on
// the surface, with the same blank lines, comments and header allowed.
//
// k: the landmarks of the data set. Each number must lie in 1..k; a row
// whose before and after are the same point, a point that slides between
// itself and another, and a point that slides in two rows are refused.
// The numbers come back from 0.
//
// Errors: an InputError naming the file and the line.
//
// Example:
//   Sliders s = readsliders("1 2 3\n2 3 4\n", "curves.txt", 10);
//   s.curve[0] == CurveSlider{0, 1, 2};
//   std::vector<int> surface = readsurface("5\n6\n", "surface.txt", 10);   // {4, 5}
//   sliderrowwidth("point\n5\n") == 1

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "landmarks/sliders.h"

namespace tarvolin {

Sliders readsliders(std::string_view text, const std::string& fname, int k);
// The count of fields in the first row of numbers, found as the readers
// find it; 0 for a text without one.
size_t sliderrowwidth(std::string_view text);
std::vector<int> readsurface(std::string_view text, const std::string& fname, int k);

}  // namespace tarvolin
