#pragma once
// Whether a specimen's centroid size, `ratio` times the median of its data
// set's, looks measured in other units than the rest. Sizes within a factor
// of 2 of the median are only small or large specimens: real mix-ups of
// units change a size by a factor of 2.54 or more (inches and centimetres,
// millimetres and centimetres, inches and millimetres, ...).
//
// The ratio is taken the larger over the smaller (1/4 counts as 4). True
// when that is 2 or more, or within kUnitTolerance (relatively) of one of
// kUnitFactors; false for a ratio that is not a positive finite number.
//
// Example:
//   sizeinotherunits(10.3)     // true
//   sizeinotherunits(1 / 1.4)  // false: small for the data set

#include <array>

namespace tarvolin {

inline constexpr std::array<double, 5> kUnitFactors = {2.54, 10, 25.4, 100, 1000};
inline constexpr double kUnitTolerance = 0.1;

bool sizeinotherunits(double ratio);

}  // namespace tarvolin
