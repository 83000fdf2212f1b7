#include "workflows/superimposelandmarks.h"

#include "core/console.h"
#include "core/errors.h"
#include "core/sprintf.h"
#include "numerics/slidestep.h"

namespace tarvolin {

SuperimposedDataSet superimposelandmarks(Eigen::MatrixXd data, const std::string& path, int dims,
                                         bool withStack, const GpaRounds& rounds) {
  SuperimposedDataSet result;
  try {
    result = superimposedataset(std::move(data), consoleSink(), dims, withStack, rounds);
  } catch (const SlideError& e) {
    // The other criterion is offered only where it was not the one that
    // failed, and only once.
    const std::string why = e.what();
    const bool byEnergy = rounds.slide && rounds.slide->criterion == SlideCriterion::bendingEnergy;
    const std::string advice = !byEnergy ? "; hold them fixed"
                               : why.find("Procrustes distance") != std::string::npos
                                   ? "; or hold them fixed"
                                   : "; slide them by Procrustes distance, or hold them fixed";
    throw InputError(path, "the semilandmarks cannot slide: " + why + advice);
  }
  // The mean shape is the average of every superimposed configuration, so
  // it is finite only where they all are: the coordinates need no pass of
  // their own, the size column is looked at.
  const bool sizesFinite = result.data.cols() == 0 || result.data.rightCols(1).allFinite();
  if (!result.mean.allFinite() || !sizesFinite) {
    throw InputError(path, "the superimposition gives numbers that are not finite");
  }
  // Sliding stops after its rounds whether or not it met its tolerance, as
  // the field's analyses do; the report says which.
  if (!result.fit.asDefined && !result.fit.converged && !result.fit.slid) {
    throw InputError(path, sprintf("the superimposition did not converge in %d rounds (last "
                                   "change %.2g); raise --tolerance or leave out --gpa converged",
                                   result.fit.rounds, result.fit.lastChange));
  }
  return result;
}

}  // namespace tarvolin
