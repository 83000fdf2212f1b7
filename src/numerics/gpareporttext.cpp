#include "core/sprintf.h"
#include "numerics/gparounds.h"

namespace tarvolin {
namespace {

// What a slide that did not meet its tolerance leaves, and how it would.
std::string unsettled(const GpaReport& report, GpaReportFor reader) {
  const bool window = reader == GpaReportFor::window;
  if (report.order == SlideOrder::refit) {
    return std::string(
               ": the result of the last round is kept, its semilandmarks not yet at rest; ") +
           (window ? "more rounds (the command line's --slide-rounds) would let them settle"
                   : "more --slide-rounds or a larger --slide-tolerance would let it settle");
  }
  return std::string(
             ": the result of the last round is kept, as in the field's reference analysis, its "
             "semilandmarks not yet at rest; ") +
         (window ? "choose the refit order, which converges, to let them settle"
                 : "this order seldom settles with more --slide-rounds (the specimens drift in "
                   "size): a larger --slide-tolerance would accept it, --slide-order refit "
                   "converges");
}

}  // namespace

std::string gpareporttext(const GpaReport& report, GpaReportFor reader) {
  const std::string rounds = sprintf("%d round", report.rounds) + (report.rounds == 1 ? "" : "s");
  if (report.asDefined) return rounds + ", as the standardization is defined";
  if (!report.slid) {
    return (report.converged ? "converged in " : "did not converge in ") + rounds +
           sprintf(", last change %.2g", report.lastChange);
  }
  const std::string slid =
      std::string("semilandmarks slid by ") +
      (report.criterion == SlideCriterion::bendingEnergy ? "bending energy, "
                                                         : "Procrustes distance, ") +
      (report.order == SlideOrder::refit ? "refit order, " : "default order, ");
  if (report.converged) {
    return slid + "converged in " + rounds + sprintf(", last change %.2g", report.lastChange);
  }
  return slid + "did not converge in " + rounds +
         sprintf(" (last change %.2g)", report.lastChange) + unsettled(report, reader);
}

std::string slideroundtext(const SlideProgress& progress, GpaReportFor reader) {
  const bool window = reader == GpaReportFor::window;
  const std::string round = sprintf("%s round %d of at most %d, ", window ? "Sliding:" : "sliding:",
                                    progress.round, progress.maxRounds);
  const std::string far =
      progress.change ? sprintf("change %.3g", *progress.change)
                      : sprintf("%d of %d specimens slid", progress.slid, progress.specimens);
  return round + far + (window ? " ..." : "");
}

}  // namespace tarvolin
