#include "loadchosenlandmarks.h"

#include <filesystem>

#include "geometry/resolvemissing.h"
#include "platform/errors.h"
#include "platform/notenoughmemory.h"
#include "shapes/readlandmarks.h"

namespace tarvolin {

ChosenLandmarks loadchosenlandmarks(const FileChoice& choice, int dims) {
  LandmarkFormat format = LandmarkFormat::zor;
  ReadOptions options;
  options.dims = dims;
  ChosenLandmarks read;
  std::error_code noSize;
  const std::uintmax_t bytes = std::filesystem::file_size(choice.path(), noSize);
  workingonfile(choice.path(), noSize ? 0 : bytes);
  read.set = readlandmarks(choice.path(), std::nullopt, options, true, &format);
  workingon(read.set.specimens(), read.set.landmarks(), read.set.dims);
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
