#include "loadlandmarkfile.h"

#include <filesystem>
#include <system_error>

#include "geometry/checklandmarkdata.h"
#include "geometry/withcentroidsize.h"
#include "loadchosenlandmarks.h"
#include "platform/errors.h"
#include "platform/notenoughmemory.h"
#include "shapes/gettpsfile3D.h"

namespace tarvolin {

LandmarkFile loadlandmarkfile(FileDialogs& dialogs, bool tps) {
  LandmarkFile file;
  bool rowsAreLines = false;
  if (tps) {
    // Its reader asks for the file itself: memory that runs out while it
    // reads is said without a size, not with an earlier data set's.
    workingon(0, 0, 0);
    TpsFile read = gettpsfile3D(dialogs);
    if (!read.chosen) return file;
    file.fname = read.fname;
    file.path = read.path;
    file.data = withcentroidsize(read.y, read.scale);
  } else {
    const std::optional<FileChoice> choice = dialogs.getFile("*.*", "Enter file to Load?");
    if (!choice) return file;
    ChosenLandmarks read = loadchosenlandmarks(*choice, 3);
    file.fname = read.name;
    file.path = read.set.path;
    file.ids = std::move(read.set.ids);
    file.data = landmarkdataset(std::move(read.set));
    rowsAreLines = read.rowsAreLines;
    // The next dialog opens where this file was found.
    std::error_code ignored;
    std::filesystem::current_path(choice->folder, ignored);
  }
  file.chosen = true;
  checklandmarkdata(file.data, file.path, rowsAreLines);
  return file;
}

}  // namespace tarvolin
