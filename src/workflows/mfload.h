#pragma once
// Asks for a file in an open dialog and reads it with dload.
//
// mfload shows the dialog with the filter "*.*" and the title "Enter file to
// Load?". When a file is chosen it is read with dload, and then the working
// directory becomes the file's folder, so that the next dialog opens there.
// A cancelled dialog reads nothing and leaves the working directory alone.
//
// Returns the matrix read (the 1 x 1 matrix -1 when the chosen file cannot be
// opened, with the reason in openError) and the chosen file's bare name.
// Content that dload refuses is its InputError.
//
// Example:
//   ScriptedFileDialogs dialogs;  dialogs.choose("examples/skulls_zor.txt");
//   LoadedMatrix m = mfload(dialogs);   // m.chosen, m.y (N x (3k+1)), m.fn

#include <Eigen/Core>
#include <string>
#include <string_view>

#include "core/filedialogs.h"

namespace tarvolin {

struct LoadedMatrix {
  bool chosen = false;    // false when the dialog was cancelled
  Eigen::MatrixXd y;      // the matrix read, or [-1] when the file could not be opened
  std::string fn;         // the chosen file's name, without its folder
  std::string path;       // folder and name
  std::string openError;  // why the file could not be opened, else empty
  std::string notice;     // lines dload did not read (see dload), else empty
};

LoadedMatrix mfload(FileDialogs& dialogs);

namespace detail {
// The dialog, the load and the change of folder shared by mfload and mfloadtxt.
LoadedMatrix loadchosenmatrix(FileDialogs& dialogs, std::string_view filter);
}  // namespace detail

}  // namespace tarvolin
