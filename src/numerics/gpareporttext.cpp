#include "core/sprintf.h"
#include "numerics/gparounds.h"

namespace tarvolin {

std::string gpareporttext(const GpaReport& report) {
  const std::string rounds = sprintf("%d round", report.rounds) + (report.rounds == 1 ? "" : "s");
  if (report.asDefined) return rounds + ", as the standardization is defined";
  const std::string slid =
      !report.slid ? ""
      : report.criterion == SlideCriterion::bendingEnergy
          ? "semilandmarks slid by bending energy, "
          : "semilandmarks slid by Procrustes distance, ";
  return slid + (report.converged ? "converged in " : "did not converge in ") + rounds +
         sprintf(", last change %.2g", report.lastChange);
}

}  // namespace tarvolin
