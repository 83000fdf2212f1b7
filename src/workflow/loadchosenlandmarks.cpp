#include "loadchosenlandmarks.h"

#include "geometry/resolvemissing.h"
#include "platform/errors.h"
#include "shapes/readlandmarks.h"

namespace tarvolin {

LandmarkSet loadchosenlandmarks(const FileChoice& choice, int dims, bool& rowsAreLines) {
  LandmarkFormat format = LandmarkFormat::zor;
  ReadOptions options;
  options.dims = dims;
  LandmarkSet set = readlandmarks(choice.path(), std::nullopt, options, true, &format);
  if (set.dims != dims) {
    throw InputError(set.path, "holds " + std::to_string(set.dims) +
                                   "D landmarks; load it in the " +
                                   (set.dims == 2 ? "2D window" : "3D window"));
  }
  // Missing landmarks are refused here, with the list of every incomplete
  // specimen; the command line can drop or estimate them.
  resolvemissing(set, MissingPolicy::refuse);
  rowsAreLines = format == LandmarkFormat::zor;
  return set;
}

}  // namespace tarvolin
