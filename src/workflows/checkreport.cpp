#include "workflows/checkreport.h"

#include <filesystem>
#include <stdexcept>

#include "core/printable.h"
#include "core/shownid.h"
#include "core/sprintf.h"
#include "core/texthelpers.h"
#include "workflows/checkreportparts.h"

namespace tarvolin {
namespace {

std::string joined(const std::vector<std::string>& words, const char* between) {
  std::string text;
  for (const std::string& w : words) text += (text.empty() ? "" : between) + w;
  return text;
}

std::string headerLines(const CheckReport& r) {
  const DataCheck& c = r.check;
  std::string text = sprintf("Data check: %s, %s, %s (%iD)\n", printable(r.file),
                             plural(c.specimens.size(), "specimen"),
                             plural(static_cast<std::uint64_t>(c.landmarks), "landmark"), c.dims);
  text += "distance to the mean shape: quartiles " + checknumber(c.quartiles[0], 4) + ", " +
          checknumber(c.quartiles[1], 4) + ", " + checknumber(c.quartiles[2], 4) +
          "; limit Q3 + 1.5 (Q3 - Q1) = " + checknumber(c.limit, 4) + "\n";
  text += "centroid size: median " + checknumber(c.sizeMedian, 4) + "; limits " +
          checknumber(c.sizeLimits[0], 4) + " to " + checknumber(c.sizeLimits[1], 4) +
          " (the same rule on ln size)\n";
  std::vector<std::string> files;
  for (const TableMismatch& t : r.idFindings.tables) {
    files.push_back(printable(std::filesystem::path(t.file).filename().string()));
  }
  if (!files.empty()) text += "specimen IDs matched with the rows of " + joined(files, ", ") + "\n";
  return text;
}

}  // namespace

CheckReport checkreport(const Eigen::MatrixXd& data, int dims, std::vector<std::string> ids,
                        std::string file, const std::vector<TableIds>& tables,
                        const std::vector<std::vector<int>>& curves, const Eigen::MatrixXd& plain) {
  const size_t n = static_cast<size_t>(data.rows());
  // A data set read without IDs has its specimens numbered, as ZOR rows are.
  if (ids.empty()) {
    for (size_t i = 1; i <= n; ++i) ids.push_back(std::to_string(i));
  }
  if (ids.size() != n) {
    throw std::invalid_argument(sprintf("checkreport: %i IDs for %i specimens", ids.size(), n));
  }
  CheckReport report;
  report.check = checkdata(data, dims, true, curves, plain);
  report.file = std::move(file);
  report.ids = std::move(ids);
  report.idFindings = checkids(report.ids, tables);

  // The text names each specimen by its ID made printable and cut short;
  // the CSV and JSON keep the IDs whole.
  std::vector<std::string> shown;
  shown.reserve(n);
  for (const std::string& id : report.ids) shown.push_back(shownid(id));
  const std::vector<std::vector<std::string>> words = checkspecimenwords(report.check, shown);
  report.specimenFinding.resize(n);
  for (size_t i = 0; i < n; ++i) report.specimenFinding[i] = joined(words[i], "; ");
  for (const Eigen::Index i : report.check.byRank) {
    const auto& w = words[static_cast<size_t>(i)];
    report.findings.insert(report.findings.end(), w.begin(), w.end());
  }
  const std::vector<std::string> idWords = checkidwords(report.idFindings, report.ids);
  report.findings.insert(report.findings.end(), idWords.begin(), idWords.end());

  checktable(report, shown);
  report.text = headerLines(report) + "\n" + report.tableHeader + "\n";
  for (const std::string& row : report.tableRows) report.text += row + "\n";
  report.text += "\n";
  if (report.findings.empty()) report.text += "Nothing looks out of line.\n";
  for (const std::string& finding : report.findings) report.text += finding + "\n";
  report.csv = checkcsv(report);
  report.json = checkjson(report);
  return report;
}

}  // namespace tarvolin
