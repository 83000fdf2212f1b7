#pragma once
// Which points of a configuration slide, and how the fit slides them.
//
// A semilandmark on a curve slides between two other points of the
// configuration (CurveSlider, numbers from 0): along the line from `before`
// to `after`. A semilandmark on a surface (3D only) slides in the plane of
// the first two principal axes of itself and its 4 nearest neighbours. The
// other points are fixed landmarks, which never move.
//
// Sliding says how the superimposition slides them: by bending energy (the
// default) or by Procrustes distance to the mean shape, for at most
// maxRounds rounds, until the change of a round is at most `tolerance`;
// `project` adds the projection onto the tangent space at the mean shape.
// GpaRounds::slide holds it (numerics/gparounds.h). The order of the rounds is that
// of the field's reference analysis by default (the change: that of N times
// the squared norm of the mean shape), which lets the specimens drift in
// size and so need not settle, or `refit` (the change: that of the summed
// squared distances of the specimens to their mean), which fits every
// specimen anew each round and converges (numerics/slidegpa.h). SlideMethod is the
// criterion and the order as a window offers them, one choice.
//
// Example:
//   Sliding slide;
//   slide.sliders.curve = {{0, 1, 2}, {1, 2, 3}};
//   slide.sliders.surface = {7, 8, 9};
//   GpaRounds rounds;
//   rounds.slide = std::make_shared<const Sliding>(std::move(slide));

#include <vector>

namespace tarvolin {

struct CurveSlider {
  int before = 0;
  int point = 0;
  int after = 0;
  bool operator==(const CurveSlider&) const = default;
};

struct Sliders {
  std::vector<CurveSlider> curve = {};
  std::vector<int> surface = {};
  bool empty() const { return curve.empty() && surface.empty(); }
  bool operator==(const Sliders&) const = default;
};

enum class SlideCriterion { bendingEnergy, procrustesDistance };
enum class SlideOrder { reference, refit };

// The criterion and the order together: the one choice a window offers.
struct SlideMethod {
  SlideCriterion criterion = SlideCriterion::bendingEnergy;
  SlideOrder order = SlideOrder::reference;
  bool operator==(const SlideMethod&) const = default;
};

struct Sliding {
  Sliders sliders = {};
  SlideCriterion criterion = SlideCriterion::bendingEnergy;
  SlideOrder order = SlideOrder::reference;
  int maxRounds = 9;
  double tolerance = 1e-4;
  bool project = false;
};

// The sliders of a configuration whose last points lie on curves of the
// given point counts, in order (a TPS file's CURVES=): every curve point
// but the first and last of its curve slides between its neighbours on the
// curve. k is the number of points, the curves' among them.
Sliders curvesliders(const std::vector<int>& curves, int k);

}  // namespace tarvolin
