#include <cmath>
#include <nlohmann/json.hpp>
#include <unordered_set>

#include "workflows/checkreportparts.h"

namespace tarvolin {
namespace {

using Json = nlohmann::ordered_json;

Json number(double value) { return std::isfinite(value) ? Json(value) : Json(nullptr); }

Json optional(bool shown, const std::optional<double>& value) {
  return shown && value ? number(*value) : Json(nullptr);
}

// The IDs of every table's list, each once, in the order met.
Json joined(const IdFindings& found, std::vector<std::string> TableMismatch::*list) {
  Json ids = Json::array();
  std::unordered_set<std::string_view> seen;
  for (const TableMismatch& table : found.tables) {
    for (const std::string& id : table.*list) {
      if (seen.insert(id).second) ids.push_back(id);
    }
  }
  return ids;
}

}  // namespace

std::string checkjson(const CheckReport& report) {
  const DataCheck& check = report.check;
  Json table = Json::array();
  for (size_t i = 0; i < check.specimens.size(); ++i) {
    const SpecimenCheck& s = check.specimens[i];
    table.push_back({{"id", report.ids[i]},
                     {"distance", number(s.distance)},
                     {"rank", s.rank},
                     {"outlier", s.outlier},
                     {"farthest_landmark", s.farthestLandmark},
                     {"swap", s.outlier && s.swap ? Json(*s.swap) : Json(nullptr)},
                     {"swap_distance", optional(s.outlier, s.swapDistance)},
                     {"mirrored", s.mirrored},
                     {"mirrored_distance", optional(s.outlier, s.mirroredDistance)},
                     {"size", number(s.size)},
                     {"size_outlier", s.sizeOutlier}});
  }
  const Json json = {
      {"file", report.file},
      {"specimens", check.specimens.size()},
      {"landmarks", check.landmarks},
      {"dimension", check.dims},
      {"quartiles",
       {number(check.quartiles[0]), number(check.quartiles[1]), number(check.quartiles[2])}},
      {"limit", number(check.limit)},
      {"size_limits", {number(check.sizeLimits[0]), number(check.sizeLimits[1])}},
      {"table", table},
      {"ids",
       {{"duplicates", report.idFindings.duplicates},
        {"table_only", joined(report.idFindings, &TableMismatch::tableOnly)},
        {"missing_from_table", joined(report.idFindings, &TableMismatch::missingFromTable)}}}};
  // nlohmann writes numbers the same in every locale, shortest round trip;
  // an ID or file name that is not UTF-8 (a Latin-1 TPS file) has its odd
  // bytes replaced rather than stopping the report.
  return json.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

}  // namespace tarvolin
