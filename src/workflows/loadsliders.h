#pragma once
// The points of a data set that slide: those a sliders file (--sliders,
// Load sliders...) and a surface file (--surface) name, or, without a
// sliders file, the curve points of a TPS file (every one but the first and
// last of its curve, between its neighbours).
//
// set: the data set read (its landmark count, dimension and TPS curves).
// slidersPath, surfacePath: the files, or empty for none.
// Returns the sliders; empty when the data have none.
//
// Errors: an InputError naming the file (and line) for the refusals of
// readsliders and readsurface, a file that cannot be read or names no
// landmark that slides, a surface file
// for 2D data, and a point named both in the sliders and the surface file.
//
// Example:
//   Sliders s = loadsliders(set, "curves.txt", "");
//   GpaRounds rounds;
//   if (!s.empty()) rounds.slide = std::make_shared<const Sliding>(Sliding{s});

#include <string>

#include "landmarks/landmarkset.h"
#include "landmarks/sliders.h"

namespace tarvolin {

Sliders loadsliders(const LandmarkSet& set, const std::string& slidersPath,
                    const std::string& surfacePath);

}  // namespace tarvolin
