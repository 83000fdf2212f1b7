#pragma once
// Reads a 3D Slicer markups file (.mrk.json): the landmarks of one specimen.
//
// The format: JSON. Its "markups" list holds markups (point lists, curves,
// ...); the first one is read and any others are passed over. Its
// "controlPoints" are the landmarks, in order, each with a "position"
// [x, y, z], a "positionStatus" ("defined", "preview", "undefined" or
// "missing") and usually a "label". A point whose status is "missing", or
// whose position is absent, null, "" or [], was not placed.
//
//   {"markups": [{"type": "Fiducial", "coordinateSystem": "LPS",
//     "controlPoints": [
//       {"label": "nasion", "position": [-12.5, 30.1, 4.0], "positionStatus": "defined"},
//       {"label": "bregma", "position": "", "positionStatus": "missing"}]}]}
//
// text:    the whole file in memory.
// fname:   names the file in errors, gives the specimen's ID (its name
//          without folder and .mrk.json: "scans/brain_01.mrk.json" ->
//          "brain_01") and becomes set.path.
// options: the code of a missing coordinate (the dimension hint is not used:
//          these files are 3D).
// Returns a set of one specimen with k landmarks (k control points): coords
// 1 x 3k, the positions in LPS (the markup's "coordinateSystem", "LPS" when
// it has none; RAS positions have x and y negated, and set.notes says so),
// NaN for a point not placed or a coordinate equal to options.missingCode.
// An InputError names the file: text that is not JSON (with the parser's
// line, column and byte), no markups or no control points, a position that
// is not a list of three numbers (naming the point, 1-based, and its label,
// and describing the value by its kind and size, never by its text), a
// coordinate system other than LPS or RAS, lists and objects nested more
// than 64 deep.
//
// Example:
//   LandmarkSet set = readmrkjson(R"({"markups": [{"controlPoints": [
//       {"position": [1, 2, 3]}, {"position": [], "positionStatus": "missing"}]}]})",
//       "a.mrk.json", {});
//   // set.ids == {"a"}, set.coords == [1 2 3 NaN NaN NaN], set.missing == [false true]

#include <string>
#include <string_view>

#include "landmarks/landmarkset.h"

namespace tarvolin {

LandmarkSet readmrkjson(std::string_view text, const std::string& fname,
                        const ReadOptions& options);

}  // namespace tarvolin
