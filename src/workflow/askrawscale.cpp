#include "askrawscale.h"

#include <string>

namespace tarvolin {

bool askrawscale(FileDialogs& dialogs, const MixedScaleError& refusal) {
  return dialogs.confirm(std::string(refusal.what()) +
                         "\n\nRead the raw coordinates of every record (SCALE= not applied), so "
                         "that all sizes are in the units the coordinates were measured in?");
}

}  // namespace tarvolin
