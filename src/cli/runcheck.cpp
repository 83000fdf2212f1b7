#include "cli/clisteps.h"
#include "formats/readtableids.h"
#include "formats/tablecolumnnamed.h"
#include "numerics/reversiblecurves.h"
#include "numerics/superimposedataset.h"
#include "workflows/checkreport.h"

namespace tarvolin {
namespace {

// The rows of the table `given` names as TABLE:COLUMN, by the rule --x and
// --groups read it with; nothing for cs, a list by order or no option, which
// have no IDs to match. x's values must be numbers; groups are labels.
std::optional<TableIds> tableOf(const std::string& given, Input input) {
  const std::optional<TableColumnName> named = tablecolumnnamed(given);
  if (!named) return std::nullopt;
  TableIdRows rows = readinginput(
      input, [&] { return readtableids(named->table, named->column, input == Input::x); });
  TableIds table;
  table.file = named->table;
  for (const size_t r : rows.notNumbers) {
    table.notNumbers.push_back({rows.lines[r], rows.ids[r], rows.column, rows.values[r]});
  }
  table.ids = std::move(rows.ids);
  table.lines = std::move(rows.lines);
  return table;
}

// The curves the check tries reversed: those the fit slides, or, with
// --slide none, the file's own.
std::vector<std::vector<int>> curvesOf(const LandmarkSet& set, const GpaRounds& fit) {
  if (fit.slide) return reversiblecurves(fit.slide->sliders);
  if (set.curves.empty()) return {};
  try {
    return reversiblecurves(curvesliders(set.curves, static_cast<int>(set.landmarks())));
  } catch (const std::invalid_argument&) {
    // Landmarks left out for missing data renumber the points: the
    // curves no longer name them.
    return {};
  }
}

}  // namespace

void runcheck(const CliOptions& options, std::ostream& out, std::ostream& err) {
  bool rowsAreLines = false;
  LandmarkSet set = loadclidata(options, err, rowsAreLines, /*repeatedIds=*/true);
  // The tables are read before the superimposition: a table that cannot be
  // read is refused before the long work.
  std::vector<TableIds> tables;
  for (const auto& [given, input] :
       {std::pair{options.x, Input::x}, {options.groups, Input::groups}}) {
    if (std::optional<TableIds> table = tableOf(given, input)) tables.push_back(std::move(*table));
  }
  AnalysisSession session;
  const GpaRounds fit = fitof(options, set);
  const std::vector<std::vector<int>> curves = curvesOf(set, fit);
  Eigen::MatrixXd rows = checkeddataset(set, rowsAreLines);
  // A curve digitized backwards is judged in the fit without sliding,
  // which would move its points along it.
  Eigen::MatrixXd plain;
  if (fit.slide && !curves.empty()) {
    GpaRounds without = fit;
    without.slide = nullptr;
    plain = superimposedataset(
                rows, [](std::string_view) {}, set.dims, false, without)
                .data;
  }
  session.load(std::move(rows), set.path, set.dims, {}, fit, false);
  if (options.gpa == GpaChoice::converged || session.loaded().fit.slid) {
    err << "tarvolin-cli: " << gpareporttext(session.loaded().fit) << "\n";
  }
  const CheckReport report =
      checkreport(session.data(), set.dims, set.ids, barename(set.path), tables, curves, plain);
  deliver(options, options.json ? report.json : report.text, out);
}

}  // namespace tarvolin
