#pragma once
// Reads the file a window's Load data chose, in any landmark format, for a
// window of one dimension.
//
// choice: the chosen file. Choosing one 3D Slicer markup file (.fcsv,
//         .mrk.json) reads every markup file of its kind in its folder, one
//         specimen per file: a file dialog cannot choose a folder.
// dims:   the window's dimension, 2 or 3; ZOR rows and tables are read so,
//         and a file that states another dimension is refused.
// dialogs: asked, for a file with missing landmarks, how to go on: the
//         command line's --missing drop-specimens, drop-landmarks or
//         estimate (the question "Missing landmarks", its details the whole
//         list of incomplete specimens); and, for a TPS file whose records
//         are scaled in part, whether to read the raw coordinates of every
//         record (askrawscale); the file is refused when the answer is no.
// Returns the set read, every landmark present (its notes say what the
// reader did beyond reading: files passed over, coordinates converted,
// scales not applied); the name to show for it (the file's, or for a folder
// of markups the folder's followed by "/"); whether row i was line i of the
// file (ZOR rows), for errors found later; what was done with missing
// landmarks ("" when none were), and whether landmarks were left out, so
// that the rest are numbered anew. A file with missing landmarks whose
// question is cancelled is an InputError listing the incomplete specimens
// by ID and landmark.
//
// Example:
//   ChosenLandmarks read = loadchosenlandmarks(*dialogs.getFile("*.*", "Load"), 2, dialogs);
//   // read.name == "skulls2d.tps", read.set.dims == 2

#include <string>

#include "core/filedialogs.h"
#include "landmarks/landmarkset.h"

namespace tarvolin {

struct ChosenLandmarks {
  LandmarkSet set;
  std::string name;
  bool rowsAreLines = false;
  std::string missingDone;
  bool landmarksRenumbered = false;  // landmarks were left out: the rest are numbered anew
};

ChosenLandmarks loadchosenlandmarks(const FileChoice& choice, int dims, FileDialogs& dialogs);

}  // namespace tarvolin
