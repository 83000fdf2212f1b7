#include "numerics/anovasums.h"

namespace tarvolin {

AnovaSums anovasums(const Eigen::Ref<const Eigen::MatrixXd>& y, const AnovaModel& model) {
  const Eigen::Index n = y.rows();
  AnovaSums sums;
  // Centred, so that no sum carries the mean shape along; every model has
  // the intercept, so no SS changes.
  sums.centred = y.rowwise() - y.colwise().mean();
  sums.c = model.q.transpose() * sums.centred;
  ProcrustesAnova& result = sums.table;
  result.totalDf = static_cast<int>(n - 1);
  result.totalSs = sums.centred.squaredNorm();
  result.residualDf = static_cast<int>(n - model.q.cols());
  result.residualSs = (sums.centred - model.q * sums.c).squaredNorm();
  result.residualMs = result.residualSs / result.residualDf;

  for (const TermColumns& term : model.terms) {
    AnovaTerm row;
    row.term = term.name;
    row.df = static_cast<int>(term.last - term.first);
    row.ss = sums.c.middleRows(term.first, term.last - term.first).squaredNorm();
    row.ms = row.ss / row.df;
    row.rsq = result.totalSs > 0 ? row.ss / result.totalSs : 0;
    row.f = row.ms / result.residualMs;
    result.terms.push_back(row);
  }
  return sums;
}

}  // namespace tarvolin
