#include "workflows/standardizedataset.h"

#include "numerics/standardizegroups.h"
#include "numerics/standardsize.h"
#include "workflows/superimposelandmarks.h"

namespace tarvolin {

SuperimposedDataSet standardizedataset(Eigen::MatrixXd data,
                                       const Eigen::Ref<const Eigen::VectorXd>& fx, double value,
                                       const std::optional<SpecimenGroups>& groups,
                                       const std::optional<Resuperimposition>& again) {
  // The data are moved from step to step: a large data set is never held twice.
  Eigen::MatrixXd standardized =
      groups && groups->names.size() > 1
          ? standardizegroups(std::move(data), fx, value, groups->of, groups->names).y
          : standardsize(std::move(data), fx, value).y;
  if (!again) {
    SuperimposedDataSet asRegressed;
    asRegressed.data = std::move(standardized);
    return asRegressed;
  }
  // The semilandmarks slid in the first superimposition; the standardized
  // coordinates have the plain fit.
  GpaRounds plain = again->rounds;
  plain.slide.reset();
  return superimposelandmarks(std::move(standardized), again->path, again->dims, again->withStack,
                              plain);
}

}  // namespace tarvolin
