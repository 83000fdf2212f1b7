#include "core/sprintf.h"
#include "numerics/gparounds.h"

namespace tarvolin {

std::string gpareporttext(const GpaReport& report) {
  const std::string rounds = sprintf("%d round", report.rounds) + (report.rounds == 1 ? "" : "s");
  if (report.asDefined) return rounds + ", as the standardization is defined";
  return (report.converged ? "converged in " : "did not converge in ") + rounds +
         sprintf(", last change %.2g", report.lastChange);
}

}  // namespace tarvolin
