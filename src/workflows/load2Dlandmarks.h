#pragma once
// The 2D window's Load data: asks for a landmark file with the title
// "Enter file to Load?", reads it for a window of 2D landmarks (see
// loadchosenlandmarks), and then, as the window's loaders do, makes the
// file's folder the working directory, so that the next dialog opens there.
// Nothing is read and the working directory stays after a cancel; a file
// that is refused leaves it too.
//
// Example:
//   std::optional<ChosenLandmarks> read = load2Dlandmarks(dialogs);

#include <optional>

#include "core/filedialogs.h"
#include "workflows/loadchosenlandmarks.h"

namespace tarvolin {

std::optional<ChosenLandmarks> load2Dlandmarks(FileDialogs& dialogs);

}  // namespace tarvolin
