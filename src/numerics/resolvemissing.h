#pragma once
// Deals with the missing landmarks of a landmark set in the way the user
// chose, so that what follows sees a set with every landmark present.
//
// set:    a landmark set as a reader gives it (missing landmarks flagged in
//         set.missing, their coordinates NaN); changed in place.
// policy: refuse        an InputError naming set.path: `3 specimens have
//                       missing landmarks:` and missinglandmarkslist(set).
//         dropSpecimens leave out every incomplete specimen (its coordinates,
//                       size, ID and scale).
//         dropLandmarks leave out every landmark missing in any specimen
//                       (its coordinates and semilandmark flag; wireframe
//                       pairs that touch one are removed, the others
//                       renumbered).
//         estimate      estimatemissing: a thin-plate spline from the mean of
//                       the complete specimens onto each incomplete one.
// Returns what was done, one or more lines for the user; "" when nothing was
// missing (the set is then not touched). After a change the sizes are
// recomputed from the coordinates (finishlandmarkset) unless the file gave
// them, in which case the given sizes stay, and the missing flags are
// cleared.
// Throws InputError naming set.path when every specimen is incomplete
// (dropSpecimens), when fewer than 3 landmarks would remain (dropLandmarks),
// for the failures estimatemissing lists, and, naming the specimen, when the
// file gave sizes and a specimen that remains has none (NaN). A refused set
// is left as it was.
//
// Example:
//   MissingReport done = resolvemissing(set, MissingPolicy::dropLandmarks);
//   // done.summary: "left out 2 landmarks missing in some specimen: 3, 7"

#include <string>

#include "landmarks/landmarkset.h"
#include "numerics/estimatemissing.h"

namespace tarvolin {

enum class MissingPolicy { refuse, dropSpecimens, dropLandmarks, estimate };

struct MissingReport {
  std::string summary;  // what was done, one or more lines for the user
};

// notes, progress: passed to estimatemissing (estimate only).
MissingReport resolvemissing(LandmarkSet& set, MissingPolicy policy, const TextSink& notes,
                             const EstimateProgress& progress = {});

}  // namespace tarvolin
