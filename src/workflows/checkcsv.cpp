#include <optional>

#include "core/csvtext.h"
#include "workflows/checkreportparts.h"

namespace tarvolin {
namespace {

// A value that is not there is an empty field, which R reads as NA.
std::string optional(const std::optional<double>& value) {
  return value ? csvnumber(*value) : std::string();
}

std::string logical(bool value) { return value ? "TRUE" : "FALSE"; }

std::string joined(const std::vector<std::string>& words) {
  std::string text;
  for (const std::string& w : words) text += (text.empty() ? "" : "; ") + w;
  return text;
}

}  // namespace

std::string checkcsv(const CheckReport& report) {
  const DataCheck& check = report.check;
  // The limits and the data file on every row keep the file one table.
  const std::string tail = "," + csvfield(report.file) + "\n";
  // The findings with every ID whole, as the id column has them.
  const std::vector<std::vector<std::string>> words = checkspecimenwords(check, report.ids);
  std::string text =
      "rank,id,distance,limit,outlier,farthest_landmark,swap_a,swap_b,swap_distance,mirrored,"
      "mirrored_distance,size,size_low,size_high,size_outlier,finding,data\n";
  for (const Eigen::Index i : check.byRank) {
    const SpecimenCheck& s = check.specimens[static_cast<size_t>(i)];
    const bool swap = s.outlier && s.swap.has_value();
    text += std::to_string(s.rank) + "," + csvfield(report.ids[static_cast<size_t>(i)]) + "," +
            csvnumber(s.distance) + "," + csvnumber(check.limit) + "," + logical(s.outlier) + "," +
            std::to_string(s.farthestLandmark) + "," +
            (swap ? std::to_string((*s.swap)[0]) + "," + std::to_string((*s.swap)[1]) : ",") + "," +
            optional(s.outlier ? s.swapDistance : std::nullopt) + "," +
            logical(s.outlier && s.likeliestCause() == ShapeCause::mirror) + "," +
            optional(s.outlier ? s.mirroredDistance : std::nullopt) + "," + csvnumber(s.size) +
            "," + csvnumber(check.sizeLimits[0]) + "," + csvnumber(check.sizeLimits[1]) + "," +
            logical(s.sizeOutlier) + "," + csvfield(joined(words[static_cast<size_t>(i)])) + tail;
  }
  return text;
}

}  // namespace tarvolin
