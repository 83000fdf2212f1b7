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

// Each table's repeated rows and values that are not numbers, by file.
Json tableFindings(const IdFindings& found) {
  Json repeats = Json::array();
  Json values = Json::array();
  for (const TableMismatch& table : found.tables) {
    for (const TableRepeat& r : table.repeats) {
      repeats.push_back({{"file", table.file}, {"id", r.id}, {"lines", r.lines}});
    }
    for (const TableValue& v : table.notNumbers) {
      values.push_back({{"file", table.file},
                        {"line", v.line},
                        {"id", v.id},
                        {"column", v.column},
                        {"value", v.value}});
    }
  }
  return {{"table_repeats", repeats}, {"table_not_numbers", values}};
}

}  // namespace

std::string checkjson(const CheckReport& report) {
  const DataCheck& check = report.check;
  // The findings with every ID whole, as the table's rows name them.
  const std::vector<std::vector<std::string>> words = checkspecimenwords(check, report.ids);
  Json table = Json::array();
  for (size_t i = 0; i < check.specimens.size(); ++i) {
    const SpecimenCheck& s = check.specimens[i];
    // swap, mirrored and backwards_curve are findings, as the text names
    // them; the best candidates of every outlier are kept apart under
    // best_*, so that none reads as a finding.
    const ShapeCause cause = s.outlier ? s.likeliestCause() : ShapeCause::none;
    const bool swap = cause == ShapeCause::swap;
    const bool curve = cause == ShapeCause::curve;
    std::string finding;
    for (const std::string& w : words[i]) finding += (finding.empty() ? "" : "; ") + w;
    table.push_back({{"id", report.ids[i]},
                     {"distance", number(s.distance)},
                     {"rank", s.rank},
                     {"outlier", s.outlier},
                     {"farthest_landmark", s.farthestLandmark},
                     {"swap", swap ? Json(*s.swap) : Json(nullptr)},
                     {"swap_distance", optional(swap, s.swapDistance)},
                     {"mirrored", cause == ShapeCause::mirror},
                     {"mirrored_distance", optional(s.outlier, s.mirroredDistance)},
                     {"backwards_curve", curve ? Json(*s.curve) : Json(nullptr)},
                     {"backwards_distance", optional(curve, s.curveDistance)},
                     {"backwards_from_distance", curve ? number(s.curveFrom) : Json(nullptr)},
                     {"best_swap", s.outlier && s.swap ? Json(*s.swap) : Json(nullptr)},
                     {"best_swap_distance", optional(s.outlier, s.swapDistance)},
                     {"best_curve", s.outlier && s.curve ? Json(*s.curve) : Json(nullptr)},
                     {"best_curve_distance", optional(s.outlier, s.curveDistance)},
                     {"size", number(s.size)},
                     {"size_outlier", s.sizeOutlier},
                     {"wrong_units", s.sizeOutlier && s.wrongUnits},
                     {"finding", finding}});
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
        {"missing_from_table", joined(report.idFindings, &TableMismatch::missingFromTable)}}},
      {"tables", tableFindings(report.idFindings)}};
  // nlohmann writes numbers the same in every locale, shortest round trip;
  // an ID or file name that is not UTF-8 (a Latin-1 TPS file) has its odd
  // bytes replaced rather than stopping the report.
  return json.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

}  // namespace tarvolin
