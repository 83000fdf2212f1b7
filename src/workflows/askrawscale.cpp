#include "workflows/askrawscale.h"

#include <string>

namespace tarvolin {

bool askrawscale(FileDialogs& dialogs, const MixedScaleError& refusal) {
  const std::optional<std::string> answer = dialogs.askChoice(
      "Records scaled in part",
      std::string(refusal.what()) +
          "\n\nRead the raw coordinates of every record (SCALE= not applied), so that all "
          "sizes are in the units the coordinates were measured in?",
      "", {{"yes", "Read raw coordinates"}, {"no", "Refuse the file"}});
  return answer == "yes";
}

}  // namespace tarvolin
