#pragma once
// Asks whether to read a TPS file scaled in part with the raw coordinates of
// every record, as the command line's --scale ignore does.
//
// refusal: the reader's refusal, naming the file and the records without a
//          SCALE=.
// Returns true when the user answers yes; the caller then reads the file
// again with ReadOptions::ignoreScale, and otherwise lets the refusal stand.
//
// Example:
//   try { set = readlandmarks(path, ...); }
//   catch (const MixedScaleError& e) { if (!askrawscale(dialogs, e)) throw; ... }

#include "core/filedialogs.h"
#include "formats/refusemixedscales.h"

namespace tarvolin {

bool askrawscale(FileDialogs& dialogs, const MixedScaleError& refusal);

}  // namespace tarvolin
