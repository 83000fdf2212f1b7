#pragma once
// The incomplete specimens of a landmark set, for the user to read.
//
// set: a landmark set; a landmark is missing where its flag is set or its
//      coordinates are NaN.
// Returns one line per specimen with a missing landmark, in the order of the
// set, naming it by its ID and listing its missing landmarks 1-based, as in
// the file; after the first `limit` specimens (50 unless told, all with
// SIZE_MAX, for a list the window can scroll) a last line counts the rest. Lines
// are separated by '\n', with none after the last. Returns "" when nothing
// is missing.
//
// Example:
//   missinglandmarkslist(set)
//   -> specimen "b": landmarks 3, 7
//      specimen "c": landmark 2

#include <cstddef>
#include <string>

#include "landmarks/landmarkset.h"

namespace tarvolin {

std::string missinglandmarkslist(const LandmarkSet& set, size_t limit = 50);

}  // namespace tarvolin
