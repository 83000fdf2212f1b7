#pragma once
// Asks for a landmark file and reads it as a landmark data set.
//
// tps false: any format the field's tools write, told from the content
//   (readlandmarks): ZOR rows (X1 Y1 Z1 ... Xk Yk Zk and the size), TPS, NTS,
//   Morphologika, CSV or tab-separated tables, and 3D Slicer markups, where
//   choosing one .fcsv or .mrk.json file reads every markup file of its
//   folder, one specimen per file. Without a size column the size is each
//   specimen's centroid size. The data must be 3D; for a file with missing
//   landmarks the user is asked how to go on (see loadchosenlandmarks).
// tps true: a TPS-style file through gettpsfile3D; the size column is each
//   specimen's centroid size as read, times its record's SCALE= factor.
// Either way a TPS file whose records are scaled in part is read with raw
// coordinates only when the user says so (askrawscale), else refused.
// Returns the data set (N x (3k + 1)), the specimen IDs where the file has
// them, the points its file marks as semilandmarks and its curves (TPS
// CURVES=; none from the TPS-style reader), how it was read (the file
// chosen and the answers given, for readlandmarkfileagain), and the chosen
// file's bare name and full path; nothing chosen when
// the dialog is cancelled. A file that cannot be opened, or whose content is
// not a data set that can be superimposed, is an InputError naming the file
// (and the line, record or specimen). The working directory becomes the
// chosen file's folder, so that the next dialog opens there.
//
// Example:
//   ScriptedFileDialogs dialogs;  dialogs.choose("examples/skulls.tps");
//   LandmarkFile f = loadlandmarkfile(dialogs, true);

#include <Eigen/Core>
#include <cstdint>
#include <string>
#include <vector>

#include "core/filedialogs.h"
#include "landmarks/landmarkset.h"

namespace tarvolin {

// How a landmark file was read: the file the dialog chose, the reader, and
// the keys of the questions answered while reading it, in order.
struct LandmarkReading {
  std::string path;
  bool tps = false;
  std::vector<std::string> answers;
  // landmarkfingerprint of the rows read.
  std::uint64_t fingerprint = 0;
};

struct LandmarkFile {
  bool chosen = false;
  Eigen::MatrixXd data;
  std::string fname;
  std::string path;
  std::vector<std::string> ids;      // empty for the TPS-style reader
  std::string missingDone;           // what was done with missing landmarks ("" when none were)
  bool landmarksRenumbered = false;  // landmarks were left out: the rest are numbered anew
  std::string notice;                // what the reader did not read (LandmarkSet::notice)
  std::vector<std::string> notes;    // what the reader did beyond reading (see LandmarkSet)
  std::vector<bool> semilandmark;    // LandmarkSet::semilandmark
  std::vector<int> curves;           // LandmarkSet::curves
  LandmarkReading reading;
};

LandmarkFile loadlandmarkfile(FileDialogs& dialogs, bool tps);

}  // namespace tarvolin
