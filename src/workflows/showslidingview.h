#pragma once
// The sliding window: one specimen's points before and after its
// semilandmarks slid (showsliding), with a chooser of the specimen by its ID
// along the top and a line beside it that says how far its semilandmarks
// slid. The chooser calls MODULE('SlidingSpecimen').
//
// showslidingview opens the window, or refreshes it in place when `window`
// is still open, named "Tarvolin sliding: FILE", its chooser listing `ids`;
// the window that was current before is current again afterwards.
// drawslidingview draws specimen `specimen` (its row) of `slid` in it, the
// chooser set to it, and returns the line it shows:
//   "shell_07: 24 semilandmarks slid 0.0012 to 0.034 centroid sizes, the
//    farthest landmark 17"
// then, after "; ", what the fit found astray in that specimen
// (slidewarnings, at most 3 lines). Distances are in centroid sizes of the
// specimen as it slid.
//
// farthestslid is the specimen whose semilandmarks slid farthest, in
// centroid sizes (the first of those that slid as far; 0 when none slid).
//
// Tags: SlidingWindow, SlidingSpecimen (a pop-up menu of the IDs),
// SlidingText, SlidingPlot.
//
// Example:
//   window = showslidingview(graphics, window, "stand3sw", "shells.csv", ids);
//   drawslidingview(graphics, window.handle, shown, farthestslid(shown));

#include <Eigen/Core>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/graphics.h"
#include "numerics/gparounds.h"
#include "landmarks/sliders.h"

namespace tarvolin {

// A fit that slid, as the window shows it.
struct SlidFit {
  const Eigen::MatrixXd& slid;    // N x (d k + 1): the specimens as slid, the size column last
  const Eigen::MatrixXd& unslid;  // N x d k: as they stood before they slid
  int dims;
  const std::vector<bool>& slides;  // which of the k points slide
  const std::vector<CurveSlider>& curve;
  const std::vector<std::string>& ids;
  const GpaReport& fit;
};

ObjectId showslidingview(Graphics& graphics, const std::optional<ObjectId>& window,
                         std::string_view module, const std::string& file,
                         const std::vector<std::string>& ids);

std::string drawslidingview(Graphics& graphics, Handle window, const SlidFit& shown,
                            Eigen::Index specimen);

Eigen::Index farthestslid(const SlidFit& shown);

}  // namespace tarvolin
