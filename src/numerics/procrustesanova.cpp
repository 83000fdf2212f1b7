#include "numerics/procrustesanova.h"

#include "core/errors.h"
#include "numerics/anovachecks.h"
#include "numerics/anovadesign.h"
#include "numerics/anovapermutations.h"
#include "numerics/anovasums.h"
#include "numerics/noshapevariation.h"

namespace tarvolin {

ProcrustesAnova procrustesanova(const Eigen::Ref<const Eigen::MatrixXd>& y,
                                const AnovaDesign& design, int permutations, std::uint64_t seed) {
  checkanovainput(y.rows(), design, permutations);
  if (const std::optional<std::string> same = noshapevariation(y)) {
    throw InputError(*same).concerning(Input::data);
  }
  const AnovaModel model = anovadesign(design, y.rows());
  AnovaSums sums = anovasums(y, model);
  for (size_t t = 0; t < model.terms.size(); ++t) {
    permutationtest(model, sums, model.terms[t], permutations, seed, sums.table.terms[t]);
  }
  sums.table.permutations = permutations;
  sums.table.seed = seed;
  return std::move(sums.table);
}

}  // namespace tarvolin
