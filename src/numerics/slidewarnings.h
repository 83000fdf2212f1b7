#pragma once
// The warnings of the semilandmarks that slid astray (GpaReport::strays),
// one line each, the specimen named by its ID (ids, by row; "specimen 3"
// where there is none), the landmarks numbered from 1, distances in
// centroid sizes with two significant digits:
//   "shell_07: semilandmark 132 slid 1.4 centroid sizes off its curve"
//   "shell_07: semilandmark 12 slid past landmark 13, the point after it on
//    its curve" (or "landmark 11, the point before it")
//   "shell_07: semilandmark 40 slid 0.12 centroid sizes over its surface,
//    farther than 3 times the mean spacing of its points (0.031)"
// At most `most` lines; beyond them a last line says how many more there
// are: "and 12 more semilandmarks slid astray in 5 specimens".
//
// Example:
//   for (const std::string& line : slidewarnings(fit, set.ids, 20)) err << line << "\n";

#include <cstddef>
#include <string>
#include <vector>

#include "numerics/gparounds.h"

namespace tarvolin {

std::vector<std::string> slidewarnings(const GpaReport& report, const std::vector<std::string>& ids,
                                       std::size_t most);

}  // namespace tarvolin
