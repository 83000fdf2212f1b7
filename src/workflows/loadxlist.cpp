#include "workflows/loadxlist.h"

#include "core/errors.h"

namespace tarvolin {

LoadedMatrix loadxlist(FileDialogs& dialogs) {
  LoadedMatrix read = mfload(dialogs);
  if (!read.chosen) return read;
  if (!read.openError.empty()) throw InputError(read.path, "cannot be opened: " + read.openError);
  if (read.y.cols() != 1) {
    throw InputError(read.path, 1,
                     "has " + std::to_string(read.y.cols()) +
                         " numbers on a line; an x list holds one value per line");
  }
  return read;
}

}  // namespace tarvolin
