#include "cli/clisteps.h"

namespace tarvolin {

std::optional<SpecimenGroups> groupsof(const CliOptions& options, const LandmarkSet& set) {
  if (options.groups.empty()) return std::nullopt;
  return readinginput(Input::groups, [&] { return readgroups(options.groups, set.ids); });
}

}  // namespace tarvolin
