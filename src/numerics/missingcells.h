#pragma once
// What the missing-landmark routines share: which landmarks of a specimen
// are missing, how a specimen is named to the user, and how lists of
// numbers and names are written. Internal to the geometry layer.
//
// A landmark counts as missing when its flag in set.missing is set or any of
// its coordinates is NaN, so a set whose flags were not built yet is still
// read right.

#include <Eigen/Core>
#include <cmath>
#include <string>
#include <vector>

#include "core/quotedtext.h"
#include "core/texthelpers.h"
#include "landmarks/landmarkset.h"

namespace tarvolin::missingcells {

// Lists longer than this are cut, with a count of the rest.
constexpr size_t listLimit = 50;

inline bool isMissing(const LandmarkSet& set, Eigen::Index specimen, Eigen::Index landmark) {
  if (set.missing.rows() == set.specimens() && set.missing.cols() == set.landmarks() &&
      set.missing(specimen, landmark)) {
    return true;
  }
  for (int c = 0; c < set.dims; ++c) {
    if (std::isnan(set.coords(specimen, landmark * set.dims + c))) return true;
  }
  return false;
}

// The 0-based numbers of the landmarks missing in `specimen`, ascending.
inline std::vector<Eigen::Index> missingOf(const LandmarkSet& set, Eigen::Index specimen) {
  std::vector<Eigen::Index> missing;
  for (Eigen::Index j = 0; j < set.landmarks(); ++j) {
    if (isMissing(set, specimen, j)) missing.push_back(j);
  }
  return missing;
}

inline bool isComplete(const LandmarkSet& set, Eigen::Index specimen) {
  for (Eigen::Index j = 0; j < set.landmarks(); ++j) {
    if (isMissing(set, specimen, j)) return false;
  }
  return true;
}

inline std::string quotedId(const LandmarkSet& set, Eigen::Index specimen) {
  const auto at = static_cast<size_t>(specimen);
  const bool named = at < set.ids.size() && !set.ids[at].empty();
  return named ? quotedtext(set.ids[at]) : "\"" + std::to_string(specimen + 1) + "\"";
}

// `specimen "ID"`, as messages name a specimen.
inline std::string specimenName(const LandmarkSet& set, Eigen::Index specimen) {
  return "specimen " + quotedId(set, specimen);
}

// "1 landmark", "3 landmarks".
inline std::string counted(size_t count, const std::string& noun) {
  return plural(count, noun.c_str());
}

// 0-based numbers written 1-based, as in the file: "3, 7".
inline std::string numberList(const std::vector<Eigen::Index>& numbers) {
  std::string text;
  for (size_t i = 0; i < numbers.size(); ++i) {
    if (i > 0) text += ", ";
    text += std::to_string(numbers[i] + 1);
  }
  return text;
}

// "landmark 2", "landmarks 3, 7".
inline std::string landmarkList(const std::vector<Eigen::Index>& numbers) {
  return (numbers.size() == 1 ? "landmark " : "landmarks ") + numberList(numbers);
}

}  // namespace tarvolin::missingcells
