#pragma once
// Reads the file a window's Load data chose, in any landmark format, for a
// window of one dimension.
//
// choice: the chosen file. Choosing one 3D Slicer markup file (.fcsv,
//         .mrk.json) reads every markup file of its kind in its folder, one
//         specimen per file: a file dialog cannot choose a folder.
// dims:   the window's dimension, 2 or 3; ZOR rows and tables are read so,
//         and a file that states another dimension is refused.
// dialogs: asks, for a TPS file whose records are scaled in part, whether
//         to read the raw coordinates of every record (askrawscale); the
//         file is refused when the answer is no.
// Returns the set read (its notes say what the reader did beyond reading:
// files passed over, coordinates converted, scales not applied); the name to show for it (the
// file's, or for a folder of markups the folder's followed by "/"); and whether row i was line i of
// the file (ZOR rows), for errors found later. A file with missing landmarks is an InputError
// listing every incomplete specimen by ID and landmark.
//
// Example:
//   ChosenLandmarks read = loadchosenlandmarks(*dialogs.getFile("*.*", "Load"), 2, dialogs);
//   // read.name == "skulls2d.tps", read.set.dims == 2

#include <string>

#include "platform/filedialogs.h"
#include "shapes/landmarkset.h"

namespace tarvolin {

struct ChosenLandmarks {
  LandmarkSet set;
  std::string name;
  bool rowsAreLines = false;
};

ChosenLandmarks loadchosenlandmarks(const FileChoice& choice, int dims, FileDialogs& dialogs);

}  // namespace tarvolin
