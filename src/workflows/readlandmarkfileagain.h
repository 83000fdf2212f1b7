#pragma once
// Reads a landmark file again as the window read it (loadlandmarkfile), with
// no dialog: the file chosen then and the answers given then to its
// questions (missing landmarks, raw scale). The 3D window keeps only the
// superimposed data; sliding semilandmarks needs the rows as read.
//
// rows, cols: the size of the data set read the first time; size: its size
// column, which the superimposition carried over unchanged.
// Returns the file read. The working directory is left as it was.
//
// Errors: what loadlandmarkfile refuses, and an InputError (Input::data)
// naming the file when it no longer holds the data set read the first time
// (another size, other numbers, or a question that was not asked then).
//
// Example:
//   LandmarkFile file = loadlandmarkfile(dialogs, false);
//   const LandmarkReading reading = file.reading;
//   ...
//   Eigen::MatrixXd rows = readlandmarkfileagain(reading, n, cols, size).data;

#include <Eigen/Core>

#include "workflows/loadlandmarkfile.h"

namespace tarvolin {

LandmarkFile readlandmarkfileagain(const LandmarkReading& reading, Eigen::Index rows,
                                   Eigen::Index cols, const Eigen::VectorXd& size);

}  // namespace tarvolin
