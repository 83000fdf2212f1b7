#pragma once
// Refuses a TPS file in which some records give SCALE= and others do not.
//
// SCALE= turns a record's coordinates (often pixels of a photograph) into
// real units (millimetres): a file scaled in part would give sizes in two
// units, and a regression on them would mix the two without a word. Every
// record scaled, or none, is read; in between the user must say to use the
// raw coordinates of every record (ReadOptions::ignoreScale).
//
// scaled: one flag per record, true where it has a SCALE= with a value (an
//         empty SCALE= counts as none).
// names:  each record's name in messages: "record 3 (ID \"b\")".
// fname:  the file, named in the error.
// Throws MixedScaleError naming the records without a scale (the first ten
// and a count) and how many have one; returns when all or none are scaled.
//
// Example:
//   refusemixedscales({true, false, true}, {"record 1", "record 2", "record 3"}, "a.tps");
//   // MixedScaleError: a.tps: record 2 has no SCALE= but the 2 other records have one; ...

#include <string>
#include <vector>

#include "core/errors.h"

namespace tarvolin {

class MixedScaleError : public InputError {
 public:
  using InputError::InputError;
};

void refusemixedscales(const std::vector<bool>& scaled, const std::vector<std::string>& names,
                       const std::string& fname);

}  // namespace tarvolin
