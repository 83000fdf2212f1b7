#include "workflows/loadsliders.h"

#include <map>

#include "core/errors.h"
#include "core/readtextfile.h"
#include "formats/readsliders.h"

namespace tarvolin {
namespace {

std::string textof(const std::string& path) {
  std::string content;
  std::string reason;
  if (!readtextfile(path, content, reason)) {
    throw InputError(path, "cannot be read: " + reason).concerning(Input::sliders);
  }
  return content;
}

}  // namespace

Sliders loadsliders(const LandmarkSet& set, const std::string& slidersPath,
                    const std::string& surfacePath) {
  const int k = static_cast<int>(set.landmarks());
  Sliders sliders;
  const auto refuseEmpty = [](const std::string& path) {
    throw InputError(path, "names no landmark that slides").concerning(Input::sliders);
  };
  if (!slidersPath.empty()) {
    sliders = readsliders(textof(slidersPath), slidersPath, k);
    if (sliders.curve.empty()) refuseEmpty(slidersPath);
  } else if (!set.curves.empty()) {
    sliders = curvesliders(set.curves, k);
  }
  if (!surfacePath.empty()) {
    if (set.dims != 3) {
      throw InputError(surfacePath, "points slide on a surface in 3D data only; " + set.path +
                                        " holds 2D landmarks")
          .concerning(Input::sliders);
    }
    sliders.surface = readsurface(textof(surfacePath), surfacePath, k);
    if (sliders.surface.empty()) refuseEmpty(surfacePath);
    std::map<int, bool> onCurve;
    for (const CurveSlider& s : sliders.curve) onCurve[s.point] = true;
    for (const int point : sliders.surface) {
      if (onCurve.count(point) != 0) {
        throw InputError(surfacePath, "landmark " + std::to_string(point + 1) +
                                          " slides on a curve (" +
                                          (slidersPath.empty() ? set.path : slidersPath) +
                                          ") and cannot slide on the surface too")
            .concerning(Input::sliders);
      }
    }
  }
  return sliders;
}

}  // namespace tarvolin
