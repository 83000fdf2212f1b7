#pragma once
// Reads a 3D Slicer fiducial file (.fcsv): the landmarks of one specimen.
//
// The format: comma-separated text. Lines starting with # are the header;
// the one of the form "# columns = name,name,..." names the fields of the
// rows below it (the default order, for files without one, is id, x, y, z,
// ow, ox, oy, oz, vis, sel, lock, label, desc, associatedNodeID). Every other
// line is one landmark, in file order. Fields may be quoted ("skull, left");
// rows may hold more fields than the header names, as newer writers append
// some.
//
//   # Markups fiducial file version = 4.11
//   # CoordinateSystem = LPS
//   # columns = id,x,y,z,ow,ox,oy,oz,vis,sel,lock,label,desc,associatedNodeID
//   vtkMRMLMarkupsFiducialNode_0,-12.5,30.1,4.0,0,0,0,1,1,1,0,nasion,,
//   vtkMRMLMarkupsFiducialNode_1,-10.2,28.7,9.5,0,0,0,1,1,1,0,bregma,"top, mid",
//
// text:    the whole file in memory.
// fname:   names the file in errors, gives the specimen's ID (its name
//          without folder and .fcsv: "scans/brain_01.fcsv" -> "brain_01")
//          and becomes set.path.
// options: the code of a missing coordinate (the dimension hint is not used:
//          these files are 3D).
// Returns a set of one specimen with k landmarks: coords 1 x 3k, the
// coordinates in LPS (the header's "# CoordinateSystem =": LPS or 1, RAS or
// 0, RAS when there is none, as Slicer wrote before it declared one; RAS
// coordinates have x and y negated, and set.notes says so), NaN where
// a coordinate is NA, NaN, empty or equal to options.missingCode (the format
// has no mark for a missing point: Slicer leaves its old coordinates). An
// InputError names the file and the line: a row with fewer fields than the
// x, y and z columns need, a coordinate that is not a number, a columns line
// without x, y or z, a coordinate system other than those, a file with no
// landmark rows.
//
// Example:
//   LandmarkSet set = readfcsv("# columns = id,x,y,z\n0,1,2,3\n1,4,5,6\n", "a.fcsv", {});
//   // set.ids == {"a"}, set.coords == [1 2 3 4 5 6], set.dims == 3

#include <string>
#include <string_view>

#include "landmarks/landmarkset.h"

namespace tarvolin {

LandmarkSet readfcsv(std::string_view text, const std::string& fname, const ReadOptions& options);

}  // namespace tarvolin
