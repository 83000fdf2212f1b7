#pragma once
// The semilandmarks of the data set a window holds: which points slide, and
// which are drawn as semilandmarks.
//
// A data set has points that slide when its file puts points on curves (a
// TPS file's CURVES=: every curve point but the first and last of its curve
// slides between its neighbours) or once a sliders or a surface file is
// loaded for it (see loadsliders). One file of each kind is kept: loading
// a sliders file keeps the surface file loaded, and the other way round; a
// sliders file takes the place of the TPS curves. A new data set (reset)
// forgets both.
//
// load reads either kind, told by its content (slidersfilekind). Errors: an
// InputError concerning Input::sliders that names the file (and line), as
// loadsliders gives them, a file that names no point at all, or any file
// once landmarks were left out of the data set; nothing changes then.
//
// flags() marks each landmark drawn as a semilandmark: those the data file
// marks so, and every point that slides; empty when there is none.
//
// Example:
//   Semilandmarks semi;
//   semi.reset(set);                       // coordinates not needed
//   semi.load("shells_sliders.txt");       // SlidersFileKind::curves
//   GpaRounds rounds = semi.rounds(SlideMethod{}, [&](std::string t) { graphics.status(t); });
//   session.load(rows, path, 3, ids, rounds, true);
//   graphics.status(slidfittext(session.loaded().fit, session.ids()));

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "landmarks/landmarkset.h"
#include "numerics/gparounds.h"
#include "landmarks/sliders.h"
#include "workflows/slidersfilekind.h"

namespace tarvolin {

// The status line's account of a fit that slid: gpareporttext's for the
// window, then the semilandmarks that slid astray (slidewarnings, at most 3
// lines), each after "; ", the specimens named by `ids`.
std::string slidfittext(const GpaReport& fit, const std::vector<std::string>& ids);

class Semilandmarks {
 public:
  // A new data set: its dimension, landmark count, TPS curves, flags and
  // path; the coordinates are not kept (a set of 0 rows will do).
  // `renumbered`: landmarks missing in some specimen were left out, so that
  // a file naming the landmarks of the data file no longer fits (refused).
  void reset(const LandmarkSet& set, bool renumbered = false);
  // Nothing loaded, as at the start.
  void clear() { *this = Semilandmarks(); }
  SlidersFileKind load(const std::string& path);

  // Some point slides.
  bool slide() const { return !sliders_.empty(); }
  const Sliders& sliders() const { return sliders_; }
  const std::vector<bool>& flags() const { return flags_; }
  // How the fit slides the points, by `how`; nothing when none slides.
  std::shared_ptr<const Sliding> sliding(SlideMethod how) const;
  // The rounds of a fit that slides them by `how`, telling `status` of
  // each round as it ends, "Sliding: round 3 of at most 9, change 0.0123
  // ...", and within a long one how many specimens have slid, "Sliding:
  // round 1 of at most 9, 12 of 40 specimens slid ..." (a surface of
  // thousands of points takes minutes a round).
  GpaRounds rounds(SlideMethod how, std::function<void(std::string)> status) const;
  const std::string& slidersFile() const { return slidersPath_; }
  const std::string& surfaceFile() const { return surfacePath_; }

 private:
  void flag();

  LandmarkSet shape_;  // without coordinates: its columns say k
  bool renumbered_ = false;
  std::string slidersPath_;
  std::string surfacePath_;
  Sliders sliders_;
  std::vector<bool> flags_;
};

}  // namespace tarvolin
