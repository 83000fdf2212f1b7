#pragma once
// The role the workflows give a plotted object of each legend name, for
// tests that plot as the workflows do or check that they did.

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "document/plotrole.h"

namespace tarvolin::testing {

// The role of the objects a workflow calls `name`; nothing for a name no
// workflow uses.
inline std::optional<PlotRole> roleOfLegend(std::string_view name) {
  static const std::map<std::string, PlotRole, std::less<>> kRoles = {
      {"specimens, superimposed", PlotRole::specimens},
      {"specimens, as read", PlotRole::specimens},
      {"mean shape", PlotRole::mean},
      {"standardized specimens", PlotRole::standardized},
      {"mean of standardized", PlotRole::standardizedMean},
      {"standardized specimens, as saved", PlotRole::savedStandardized},
      {"mean of standardized, as saved", PlotRole::savedStandardizedMean},
      {"wireframe", PlotRole::wireframe},
      {"specimens", PlotRole::allometrySpecimens},
      {"fitted line", PlotRole::fittedLine},
  };
  const auto role = kRoles.find(name);
  if (role == kRoles.end()) return std::nullopt;
  return role->second;
}

}  // namespace tarvolin::testing
