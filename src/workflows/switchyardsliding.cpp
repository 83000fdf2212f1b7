// The sliding window's steps of both switchyards: the window, and the
// specimen chosen in it.

#include <algorithm>
#include <filesystem>

#include "document/controltags.h"
#include "workflows/showslidingview.h"
#include "workflows/switchyardpanel.h"

namespace tarvolin {
namespace {

// Which of the k points slide: those of the curve and surface sliders.
std::vector<bool> slidingpoints(const Sliders& sliders, Eigen::Index k) {
  std::vector<bool> slides(static_cast<size_t>(k), false);
  for (const CurveSlider& s : sliders.curve) slides[static_cast<size_t>(s.point)] = true;
  for (const int point : sliders.surface) slides[static_cast<size_t>(point)] = true;
  return slides;
}

bool slid(const AnalysisSession& session) {
  const SuperimposedDataSet& loaded = session.loaded();
  return loaded.fit.slid && loaded.unslid.rows() == loaded.data.rows() &&
         loaded.unslid.rows() > 0 &&
         loaded.unslid.cols() == loaded.data.cols() - 1;
}

}  // namespace

void SwitchyardPanel::drawSliding(const AnalysisSession& session,
                                  const Semilandmarks& semilandmarks, Eigen::Index specimen) {
  const SuperimposedDataSet& loaded = session.loaded();
  const std::vector<bool> slides =
      slidingpoints(semilandmarks.sliders(), loaded.unslid.cols() / session.dims());
  const SlidFit shown{loaded.data,           loaded.unslid, session.dims(), slides,
                      semilandmarks.sliders().curve, session.ids(),  loaded.fit};
  clearReportLine(slidingWindow_);
  const Eigen::Index drawn = specimen < 0 ? farthestslid(shown) : specimen;
  drawslidingview(graphics_, slidingWindow_->handle, shown, drawn);
  slidingShown_ = session.ids()[static_cast<size_t>(drawn)];
}

void SwitchyardPanel::showSlidingView(const AnalysisSession& session, const std::string& datafile,
                                      std::string_view module,
                                      const Semilandmarks& semilandmarks) {
  requiredata(session.data());
  if (!slid(session)) {
    throw MissingError("the semilandmarks have not slid; set Slide semilandmarks first");
  }
  slidingWindow_ = showslidingview(graphics_, slidingWindow_, module,
                                   std::filesystem::path(datafile).filename().string(),
                                   session.ids());
  drawSliding(session, semilandmarks, -1);
  graphics_.status("Showing " + slidingShown_ +
                   ", whose semilandmarks slid farthest, before and after sliding; choose another "
                   "specimen in the sliding window");
}

void SwitchyardPanel::slidingSpecimenChosen(const AnalysisSession& session,
                                            const Semilandmarks& semilandmarks) {
  if (!slidingWindow_ || !graphics_.exists(*slidingWindow_)) {
    throw MissingError("the sliding window is closed; click Show sliding to open it again");
  }
  if (!slid(session)) {
    throw MissingError("the semilandmarks have not slid; set Slide semilandmarks first");
  }
  const Handle chooser = graphics_.findobj(tags::kSlidingSpecimen, slidingWindow_->handle).front();
  const auto chosen = static_cast<Eigen::Index>(graphics_.object(chooser).details().value) - 1;
  drawSliding(session, semilandmarks,
              std::clamp<Eigen::Index>(chosen, 0, session.data().rows() - 1));
}

void SwitchyardPanel::slidingChanged(const AnalysisSession& session, const std::string& datafile,
                                     const Semilandmarks& semilandmarks) {
  if (!slidingWindow_ || !graphics_.exists(*slidingWindow_)) return;
  if (!slid(session)) {
    closeSliding();
    return;
  }
  // The specimen shown before, where the new fit has it.
  const std::vector<std::string>& ids = session.ids();
  const auto same = std::find(ids.begin(), ids.end(), slidingShown_);
  slidingWindow_ = showslidingview(graphics_, slidingWindow_, "",
                                   std::filesystem::path(datafile).filename().string(), ids);
  drawSliding(session, semilandmarks, same == ids.end() ? -1 : same - ids.begin());
}

void SwitchyardPanel::closeSliding() {
  if (slidingWindow_ && graphics_.exists(*slidingWindow_)) {
    const std::optional<Handle> remembered = graphics_.currentFigure();
    graphics_.close(slidingWindow_->handle);
    if (remembered && graphics_.isValid(*remembered)) graphics_.figure(*remembered);
  }
  slidingWindow_.reset();
}

}  // namespace tarvolin
