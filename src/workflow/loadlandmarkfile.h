#pragma once
// Asks for a landmark file and reads it as a landmark data set.
//
// tps false: the ZOR format through mfload, one specimen per line,
//   X1 Y1 Z1 ... Xk Yk Zk and the centroid size.
// tps true: a TPS-style file through gettpsfile3D; the size column is each
//   specimen's centroid size as read, times its record's SCALE= factor.
// Returns the data set (N x (3k + 1)), the chosen file's bare name and full
// path; nothing chosen when the dialog is cancelled. A file that cannot be
// opened, or whose content is not a data set that can be superimposed, is an
// InputError naming the file (and the line or record).
//
// Example:
//   ScriptedFileDialogs dialogs;  dialogs.choose("examples/skulls.tps");
//   LandmarkFile f = loadlandmarkfile(dialogs, true);

#include <Eigen/Core>
#include <string>

#include "platform/filedialogs.h"

namespace tarvolin {

struct LandmarkFile {
  bool chosen = false;
  Eigen::MatrixXd data;
  std::string fname;
  std::string path;
};

LandmarkFile loadlandmarkfile(FileDialogs& dialogs, bool tps);

}  // namespace tarvolin
