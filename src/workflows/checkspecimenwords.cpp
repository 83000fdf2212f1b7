#include <cmath>

#include "core/sprintf.h"
#include "numerics/sizeinotherunits.h"
#include "workflows/checkreportparts.h"

namespace tarvolin {
namespace {

std::string size(double value) { return checknumber(value, 4); }

// Two distances to two significant digits, or to as many more (up to six) as
// tell them apart: "distance 0.032, limit 0.032" would say nothing.
std::string apart(double a, const char* between, double b) {
  for (int digits = 2;; ++digits) {
    const std::string first = checknumber(a, digits);
    const std::string second = checknumber(b, digits);
    if (first != second || digits == 6) return first + between + second;
  }
}

// The likeliest cause of a shape far from the mean: the exchange, the
// mirror image or the curve reversed that brings it back below the limit
// (the nearest, when several do), else only how far it lies.
std::string shapeWords(const SpecimenCheck& s, const std::string& id, double limit) {
  switch (s.likeliestCause()) {
    case ShapeCause::swap:
      return sprintf("%s: landmarks %i and %i look swapped (distance %s)", id, (*s.swap)[0],
                     (*s.swap)[1], apart(s.distance, " -> ", *s.swapDistance));
    case ShapeCause::mirror:
      return sprintf("%s looks mirrored (distance %s)", id,
                     apart(s.distance, " -> ", *s.mirroredDistance));
    case ShapeCause::curve:
      return sprintf("%s: curve %i looks digitized backwards (distance %s)", id, *s.curve,
                     apart(s.curveFrom, " -> ", *s.curveDistance));
    case ShapeCause::none:
      break;
  }
  return sprintf("%s lies far from the mean shape (distance %s; landmark %i the farthest)", id,
                 apart(s.distance, ", limit ", limit), s.farthestLandmark);
}

// The ratio to one decimal; a ratio below 2 never reads "2.0", which would
// say other units where the words say otherwise.
std::string ratioText(double ratio) {
  for (int digits = 1;; ++digits) {
    const std::string text = sprintf("%." + std::to_string(digits) + "f", ratio);
    if (ratio >= 2 || text.rfind("2.", 0) != 0 || digits == 6) return text;
  }
}

std::string sizeWords(const SpecimenCheck& s, const std::string& id, double median) {
  if (!(s.size > 0) || !std::isfinite(s.size)) {
    return sprintf("%s: centroid size %s is not a positive number", id, size(s.size));
  }
  const bool large = s.size >= median;
  const std::string verdict = sizeinotherunits(s.size / median)
                                  ? "wrong units?"
                                  : std::string(large ? "large" : "small") + " for this data set";
  if (large) {
    return sprintf("%s: centroid size %s is %s times the median; %s", id, size(s.size),
                   ratioText(s.size / median), verdict);
  }
  return sprintf("%s: centroid size %s is 1/%s of the median; %s", id, size(s.size),
                 ratioText(median / s.size), verdict);
}

}  // namespace

std::vector<std::vector<std::string>> checkspecimenwords(const DataCheck& check,
                                                         const std::vector<std::string>& ids) {
  std::vector<std::vector<std::string>> words(check.specimens.size());
  for (size_t i = 0; i < check.specimens.size(); ++i) {
    const SpecimenCheck& s = check.specimens[i];
    if (s.outlier) words[i].push_back(shapeWords(s, ids[i], check.limit));
    if (s.sizeOutlier) words[i].push_back(sizeWords(s, ids[i], check.sizeMedian));
  }
  return words;
}

}  // namespace tarvolin
