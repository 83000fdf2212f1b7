#include "loadchosenlandmarks.h"

#include <filesystem>

#include "askrawscale.h"
#include "geometry/resolvemissing.h"
#include "platform/errors.h"
#include "shapes/readlandmarks.h"

namespace tarvolin {

ChosenLandmarks loadchosenlandmarks(const FileChoice& choice, int dims, FileDialogs& dialogs) {
  LandmarkFormat format = LandmarkFormat::zor;
  ReadOptions options;
  options.dims = dims;
  ChosenLandmarks read;
  try {
    read.set = readlandmarks(choice.path(), std::nullopt, options, true, &format);
  } catch (const MixedScaleError& refusal) {
    if (!askrawscale(dialogs, refusal)) throw;
    options.ignoreScale = true;
    read.set = readlandmarks(choice.path(), std::nullopt, options, true, &format);
  }
  if (read.set.dims != dims) {
    throw InputError(read.set.path, "holds " + std::to_string(read.set.dims) +
                                        "D landmarks; load it in the " +
                                        (read.set.dims == 2 ? "2D window" : "3D window"));
  }
  // Missing landmarks are refused here, with the list of every incomplete
  // specimen; the command line can drop or estimate them.
  resolvemissing(read.set, MissingPolicy::refuse);
  read.rowsAreLines = format == LandmarkFormat::zor;
  const bool folder = format == LandmarkFormat::fcsv || format == LandmarkFormat::mrkjson;
  read.name = folder ? std::filesystem::path(read.set.path).filename().string() + "/" : choice.name;
  return read;
}

}  // namespace tarvolin
