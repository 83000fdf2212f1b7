#include <cmath>

#include "core/sprintf.h"
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

// The likeliest cause of a shape far from the mean: the exchange or the
// mirror image that brings it back below the limit (the nearer, when both
// do), else only how far it lies.
std::string shapeWords(const SpecimenCheck& s, const std::string& id, double limit) {
  const bool swapped = s.swap && s.swapped;
  const bool mirrored = s.mirrored && s.mirroredDistance;
  if (swapped && (!mirrored || *s.swapDistance <= *s.mirroredDistance)) {
    return sprintf("%s: landmarks %i and %i look swapped (distance %s)", id, (*s.swap)[0],
                   (*s.swap)[1], apart(s.distance, " -> ", *s.swapDistance));
  }
  if (mirrored) {
    return sprintf("%s looks mirrored (distance %s)", id,
                   apart(s.distance, " -> ", *s.mirroredDistance));
  }
  return sprintf("%s lies far from the mean shape (distance %s; landmark %i the farthest)", id,
                 apart(s.distance, ", limit ", limit), s.farthestLandmark);
}

std::string sizeWords(const SpecimenCheck& s, const std::string& id, double median) {
  if (!(s.size > 0) || !std::isfinite(s.size)) {
    return sprintf("%s: centroid size %s is not a positive number", id, size(s.size));
  }
  if (s.size >= median) {
    return sprintf("%s: centroid size %s is %.1f times the median; wrong units?", id, size(s.size),
                   s.size / median);
  }
  return sprintf("%s: centroid size %s is 1/%.1f of the median; wrong units?", id, size(s.size),
                 median / s.size);
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
