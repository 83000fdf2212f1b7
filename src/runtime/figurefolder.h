#pragma once
// Where the programs find their figure files (Tarvolin.fig, Tarvolin2D.fig),
// relative to the program itself, so that the same binary works from any
// installation prefix and from the build folder.
//
// An installed program finds them in PREFIX/share/tarvolin/figures, PREFIX
// being the folder above its bin/. A program inside `buildTree` (the folder
// it was built in) that has no such folder beside it uses `sourceFigures`,
// the source tree's resources. Anywhere else the answer is the installed
// place, so that a missing installation is reported where it was looked
// for. A folder given on the command line (--figures) is used as it is and
// never comes here.
//
// Example:
//   figurefolder("/opt/tv/bin/tarvolin", "/src/tarvolin/build", "/src/tarvolin/resources")
//   // "/opt/tv/share/tarvolin/figures"

#include <filesystem>

namespace tarvolin {

std::filesystem::path figurefolder(const std::filesystem::path& program,
                                   const std::filesystem::path& buildTree,
                                   const std::filesystem::path& sourceFigures);

// The figure folder of the running program, as figurefolder finds it for the
// build this program came from.
std::filesystem::path installedfigurefolder(const char* invokedAs);

}  // namespace tarvolin
