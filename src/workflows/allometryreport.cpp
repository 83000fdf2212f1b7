#include "workflows/allometryreport.h"

#include <filesystem>

#include "core/errors.h"
#include "core/sprintf.h"
#include "workflows/allometrytable.h"

namespace tarvolin {

AllometryReport allometryreport(const Eigen::MatrixXd& data, const Eigen::VectorXd& x,
                                const AllometryX& xvariable, const std::string& file, int dims,
                                std::string_view superimposition,
                                const std::optional<SpecimenGroups>& groups,
                                const AllometryAsked& asked) {
  const Eigen::Index n = data.rows();
  if (x.size() != n) {
    throw InputError(sprintf("x has %i values, but the data set has %i specimens; load an x list "
                             "of one value per specimen",
                             x.size(), n))
        .concerning(Input::x);
  }
  const Eigen::Index coordinates = data.cols() - 1;
  AllometryReport report;
  AnovaDesign design;
  design.x = x;
  std::string groupsRead, groupsFile;
  if (groups && groups->names.size() > 1) {
    design.groupOf = groups->of;
    design.groupNames = groups->names;
    design.interaction = asked.interaction;
    const std::filesystem::path source(groups->source);
    groupsFile = source.has_filename() ? source.filename().string()
                                       : source.parent_path().filename().string();
    groupsRead = sprintf(", %i groups from %s", groups->names.size(), groupsFile);
  }
  const std::string xname = xvariable.transform == "none"
                                ? xvariable.source
                                : xvariable.transform + " of " + xvariable.source;
  try {
    report.anova =
        procrustesanova(data.leftCols(coordinates), design, asked.permutations, asked.seed);
  } catch (const InputError& e) {
    // A group too small is the groups file's fault, not the data set's.
    if (!design.groupOf.empty() && e.file().empty() && e.input() == Input::groups) {
      throw InputError(groups->source, e.message()).concerning(Input::groups);
    }
    throw;
  }
  report.score = regressionscore(data.leftCols(coordinates), x);
  report.x = x;
  report.file = file;
  report.xname = xname;
  report.text = sprintf("Procrustes ANOVA of shape on %s: %s, ", xname, file) +
                sprintf("%i specimens, %i landmarks (%iD)", n, coordinates / dims, dims) +
                groupsRead + "\nsuperimposition: " + std::string(superimposition) + "; " +
                sprintf("%i permutations of the residuals, seed %s\n\n", asked.permutations,
                        std::to_string(asked.seed)) +
                allometrytable(report.anova);
  report.record = {file, xvariable.source,   xvariable.transform,         groupsFile,
                   n,    coordinates / dims, std::string(superimposition)};
  report.csv = allometrycsv(report.anova, report.record);
  report.json = allometryjson(report.anova, report.record);
  return report;
}

}  // namespace tarvolin
