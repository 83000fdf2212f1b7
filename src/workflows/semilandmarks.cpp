#include "workflows/semilandmarks.h"

#include <algorithm>

#include "core/errors.h"
#include "core/readtextfile.h"
#include "numerics/slidewarnings.h"
#include "workflows/loadsliders.h"

namespace tarvolin {

void Semilandmarks::reset(const LandmarkSet& set, bool renumbered) {
  clear();
  renumbered_ = renumbered;
  shape_.dims = set.dims;
  shape_.coords.resize(0, set.coords.cols());
  shape_.semilandmark = set.semilandmark;
  shape_.curves = set.curves;
  shape_.path = set.path;
  sliders_ = loadsliders(shape_, "", "");
  flag();
}

SlidersFileKind Semilandmarks::load(const std::string& path) {
  if (renumbered_) {
    throw InputError(path, "numbers the landmarks of " + shape_.path +
                               ", but landmarks missing in some specimen were left out and the "
                               "rest numbered anew; estimate the missing landmarks instead")
        .concerning(Input::sliders);
  }
  std::string text;
  std::string reason;
  if (!readtextfile(path, text, reason)) {
    throw InputError(path, "cannot be read: " + reason).concerning(Input::sliders);
  }
  const SlidersFileKind kind = slidersfilekind(text);
  const bool surface = kind == SlidersFileKind::surface;
  const std::string& slidersPath = surface ? slidersPath_ : path;
  const std::string& surfacePath = surface ? path : surfacePath_;
  sliders_ = loadsliders(shape_, slidersPath, surfacePath);
  (surface ? surfacePath_ : slidersPath_) = path;
  flag();
  return kind;
}

std::shared_ptr<const Sliding> Semilandmarks::sliding(SlideMethod how) const {
  if (!slide()) return nullptr;
  Sliding sliding;
  sliding.sliders = sliders_;
  sliding.criterion = how.criterion;
  sliding.order = how.order;
  return std::make_shared<const Sliding>(std::move(sliding));
}

GpaRounds Semilandmarks::rounds(SlideMethod how, std::function<void(std::string)> status) const {
  GpaRounds rounds;
  rounds.slide = sliding(how);
  if (rounds.slide && status) {
    rounds.onRound = [status = std::move(status)](const SlideProgress& progress) {
      status(slideroundtext(progress, GpaReportFor::window));
    };
  }
  return rounds;
}

std::string slidfittext(const GpaReport& fit, const std::vector<std::string>& ids) {
  std::string text = gpareporttext(fit, GpaReportFor::window);
  for (const std::string& line : slidewarnings(fit, ids, 3)) text += "; " + line;
  return text;
}

void Semilandmarks::flag() {
  flags_ = shape_.semilandmark;
  if (!slide()) return;
  flags_.resize(static_cast<size_t>(shape_.landmarks()), false);
  for (const CurveSlider& s : sliders_.curve) flags_[static_cast<size_t>(s.point)] = true;
  for (const int point : sliders_.surface) flags_[static_cast<size_t>(point)] = true;
}

}  // namespace tarvolin
