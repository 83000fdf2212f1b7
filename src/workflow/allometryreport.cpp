#include "allometryreport.h"

#include "allometrytable.h"
#include "platform/errors.h"
#include "platform/sprintf.h"

namespace tarvolin {

AllometryReport allometryreport(const Eigen::MatrixXd& data, const Eigen::VectorXd& x,
                                const std::string& xname, const std::string& file, int dims,
                                std::string_view superimposition) {
  const Eigen::Index n = data.rows();
  if (x.size() != n) {
    throw InputError(
        sprintf("x has %i values, but the data set has %i specimens; load an x list "
                "of one value per specimen",
                x.size(), n));
  }
  const Eigen::Index coordinates = data.cols() - 1;
  AllometryReport report;
  AnovaDesign design;
  design.x = x;
  report.anova =
      procrustesanova(data.leftCols(coordinates), design, kAllometryPermutations, kAllometrySeed);
  report.score = regressionscore(data.leftCols(coordinates), x);
  report.x = x;
  report.file = file;
  report.xname = xname;
  report.text = sprintf("Procrustes ANOVA of shape on %s: %s, ", xname, file) +
                sprintf("%i specimens, %i landmarks (%iD)\n", n, coordinates / dims, dims) +
                "superimposition: " + std::string(superimposition) + "; " +
                sprintf("%i permutations of the residuals, seed %s\n\n", kAllometryPermutations,
                        std::to_string(kAllometrySeed)) +
                allometrytable(report.anova);
  report.csv = allometrycsv(report.anova);
  return report;
}

}  // namespace tarvolin
