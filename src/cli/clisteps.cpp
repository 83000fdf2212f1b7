#include "cli/clisteps.h"

#include <filesystem>

#include "core/sprintf.h"

namespace tarvolin {

std::string barename(const std::string& path) {
  const std::filesystem::path p(path);
  return p.has_filename() ? p.filename().string() : p.parent_path().filename().string();
}

GpaRounds roundsof(const CliOptions& options) {
  GpaRounds rounds;
  rounds.converge = options.gpa == GpaChoice::converged;
  if (!(options.tolerance >= 0)) {
    throw InputError("--tolerance must be a number of at least 0, not " +
                     sprintf("%g", options.tolerance))
        .concerning(Input::option);
  }
  rounds.tolerance = options.tolerance;
  return rounds;
}

std::optional<SpecimenGroups> groupsof(const CliOptions& options, const LandmarkSet& set) {
  if (options.groups.empty()) return std::nullopt;
  return readinginput(Input::groups, [&] { return readgroups(options.groups, set.ids); });
}

void takecoordinates(LandmarkSet& set, Eigen::MatrixXd data) {
  data.conservativeResize(Eigen::NoChange, data.cols() - 1);
  set.coords = std::move(data);
  // Superimposed coordinates are of centroid size 1, in no unit: no scale
  // factor applies to them (the size column keeps each specimen's).
  set.scale.resize(0);
}

}  // namespace tarvolin
