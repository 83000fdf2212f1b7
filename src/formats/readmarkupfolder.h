#pragma once
// Reads a folder of 3D Slicer markup files, one specimen per file, into one
// landmark set.
//
// The folder: .fcsv files (see readfcsv.h) or .mrk.json files (see
// readmrkjson.h), each holding the same landmarks, in the same order, of
// one specimen. A file's name without its extension is its specimen's ID;
// other files are passed over. An entry named as a markup file that is not
// one to read (a hidden file, a folder, a broken link, a link loop, a pipe,
// a device) is passed over with a note in set.notes naming it and why.
// Every specimen is brought into LPS, and one note says how many RAS files
// were converted.
//
//   brains/
//     brain_01.mrk.json    -> specimen "brain_01"
//     brain_02.mrk.json    -> specimen "brain_02"
//     notes.txt            (not read)
//
// folder:  the folder's path; becomes set.path.
// kind:    the files to read: fcsv, mrkjson, or any when the folder holds
//          only one of the two kinds.
// options: the code of a missing coordinate.
// Returns the set of N specimens, one per file in the byte order of the
// file names, with k landmarks: coords N x 3k, NaN for a missing landmark.
// An InputError names the folder or the file: a folder that cannot be read,
// one that holds no file of the kind, one that holds both kinds when kind
// is any, two files with different landmark counts (both named), two files
// that give one ID, and any error of a file's own reader.
//
// markupkindof(name) is the kind of markup file a name ends in (.fcsv or
// .mrk.json, any letter case), or nothing; markupid(fname) is the specimen
// ID a file's name gives: without folder and extension; markupspecimen(
// coords, fname, system) is the set of the one 3D specimen a markup file
// holds, its points' X Y Z in order (NaN for a missing one), in the
// coordinate system `system`, brought into LPS, named by markupid.
//
// Example:
//   LandmarkSet set = readmarkupfolder("brains", MarkupKind::any, {});
//   // set.ids == {"brain_01", "brain_02"}, set.path == "brains"
//   markupid("scans/brain_01.mrk.json")  -> "brain_01"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "landmarks/landmarkset.h"

namespace tarvolin {

enum class MarkupKind { any, fcsv, mrkjson };

// The coordinate systems of Slicer's markups: LPS (x to the left, y to the
// back, z up: Slicer's default in files since 4.11) and RAS (x and y the
// other way: a half turn about z, so no mirror image).
enum class MarkupSystem { lps, ras };

LandmarkSet readmarkupfolder(const std::string& folder, MarkupKind kind,
                             const ReadOptions& options);

std::optional<MarkupKind> markupkindof(std::string_view name);

std::string markupid(std::string_view fname);

LandmarkSet markupspecimen(std::vector<double> coords, const std::string& fname,
                           MarkupSystem system);

}  // namespace tarvolin
