#include "workflows/loadchosenlandmarks.h"

#include <filesystem>
#include <limits>

#include "core/console.h"
#include "core/errors.h"
#include "core/notenoughmemory.h"
#include "formats/readlandmarks.h"
#include "numerics/missinglandmarkslist.h"
#include "numerics/resolvemissing.h"
#include "workflows/askrawscale.h"

namespace tarvolin {

namespace {

// The command line's --missing choices, offered by the window.
const std::vector<DialogChoice> kMissingChoices = {
    {"drop-specimens", "Drop specimens"},
    {"drop-landmarks", "Drop landmarks"},
    {"estimate", "Estimate"},
};

MissingPolicy missingpolicy(const std::string& key) {
  if (key == "drop-specimens") return MissingPolicy::dropSpecimens;
  if (key == "drop-landmarks") return MissingPolicy::dropLandmarks;
  return MissingPolicy::estimate;
}

}  // namespace

ChosenLandmarks loadchosenlandmarks(const FileChoice& choice, int dims, FileDialogs& dialogs) {
  LandmarkFormat format = LandmarkFormat::zor;
  ReadOptions options;
  options.dims = dims;
  ChosenLandmarks read;
  std::error_code noSize;
  const std::uintmax_t bytes = std::filesystem::file_size(choice.path(), noSize);
  workingonfile(choice.path(), noSize ? 0 : bytes);
  try {
    read.set = readlandmarks(choice.path(), std::nullopt, options, true, &format);
  } catch (const MixedScaleError& refusal) {
    if (!askrawscale(dialogs, refusal)) throw;
    options.ignoreScale = true;
    read.set = readlandmarks(choice.path(), std::nullopt, options, true, &format);
  }
  workingon(read.set.specimens(), read.set.landmarks(), read.set.dims);
  if (read.set.dims != dims) {
    throw InputError(read.set.path, "holds " + std::to_string(read.set.dims) +
                                        "D landmarks; load it in the " +
                                        (read.set.dims == 2 ? "2D window" : "3D window"));
  }
  // Missing landmarks: the user chooses, as the command line's --missing
  // does, to drop the incomplete specimens or landmarks or to estimate them;
  // cancelled, the file is refused with the list of every incomplete specimen.
  try {
    resolvemissing(read.set, MissingPolicy::refuse, consoleSink());
  } catch (const InputError& refused) {
    const std::string_view what = refused.what();
    const std::optional<std::string> answer = dialogs.askChoice(
        "Missing landmarks",
        std::string(what.substr(0, what.find('\n'))) +
            "\n\nDrop specimens leaves out the incomplete specimens, Drop landmarks the "
            "landmarks missing in any specimen; Estimate fills each missing landmark by a "
            "thin-plate spline from the mean of the complete specimens. Cancel loads nothing. "
            "The list of what is missing is under Show Details.",
        missinglandmarkslist(read.set, std::numeric_limits<size_t>::max()), kMissingChoices);
    if (!answer) throw;
    const MissingPolicy policy = missingpolicy(*answer);
    read.missingDone = resolvemissing(read.set, policy, consoleSink()).summary;
    read.landmarksRenumbered = policy == MissingPolicy::dropLandmarks;
  }
  read.rowsAreLines = format == LandmarkFormat::zor;
  const bool folder = format == LandmarkFormat::fcsv || format == LandmarkFormat::mrkjson;
  read.name = folder ? std::filesystem::path(read.set.path).filename().string() + "/" : choice.name;
  return read;
}

}  // namespace tarvolin
