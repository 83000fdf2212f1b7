#include "loadlandmarkfile.h"

#include "geometry/checklandmarkdata.h"
#include "geometry/withcentroidsize.h"
#include "platform/errors.h"
#include "shapes/gettpsfile3D.h"
#include "shapes/mfload.h"

namespace tarvolin {

LandmarkFile loadlandmarkfile(FileDialogs& dialogs, bool tps) {
  LandmarkFile file;
  if (tps) {
    TpsFile read = gettpsfile3D(dialogs);
    if (!read.chosen) return file;
    file.fname = read.fname;
    file.path = read.path;
    file.data = withcentroidsize(read.y, read.scale);
  } else {
    LoadedMatrix read = mfload(dialogs);
    if (!read.chosen) return file;
    if (!read.openError.empty()) throw InputError(read.path, "cannot be opened: " + read.openError);
    file.fname = read.fn;
    file.path = read.path;
    file.data = std::move(read.y);
  }
  file.chosen = true;
  checklandmarkdata(file.data, file.path, !tps);
  return file;
}

}  // namespace tarvolin
