#include "formats/refuseduplicateids.h"

#include <algorithm>
#include <numeric>

#include "core/errors.h"
#include "core/quotedtext.h"

namespace tarvolin {

void refuseduplicateids(const std::vector<std::string>& ids, const std::vector<long>& lines,
                        bool bareAxes, const std::string& fname) {
  // Sorting the rows by ID brings any two rows of one specimen together.
  std::vector<size_t> order(ids.size());
  std::iota(order.begin(), order.end(), size_t{0});
  std::stable_sort(order.begin(), order.end(),
                   [&ids](size_t a, size_t b) { return ids[a] < ids[b]; });
  for (size_t i = 1; i < order.size(); ++i) {
    if (ids[order[i]] == ids[order[i - 1]]) {
      const long earlier = lines[order[i - 1]];
      const long later = lines[order[i]];
      if (bareAxes) {
        throw InputError(fname, later,
                         "specimen " + quotedtext(ids[order[i]]) + " is on line " +
                             std::to_string(earlier) + " and line " + std::to_string(later) +
                             ": the table has one row per landmark: reshape to one row per "
                             "specimen, with the columns x1, y1, z1, x2, ... (2D: x1, y1, x2, "
                             "...)");
      }
      throw InputError(fname, later,
                       "specimen " + quotedtext(ids[order[i]]) + " is on line " +
                           std::to_string(earlier) + " and line " + std::to_string(later) +
                           "; each specimen ID must be unique");
    }
  }
}

}  // namespace tarvolin
