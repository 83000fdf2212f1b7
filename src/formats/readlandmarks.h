#pragma once
// Reads landmark data from a file or a folder, in any format the field's
// tools write: ZOR rows, TPS, NTS, Morphologika, CSV or tab-separated row
// tables, 3D Slicer markups (.fcsv, .mrk.json) one specimen per file.
//
// path:    a file, or a folder of .fcsv or .mrk.json files (one specimen per
//          file, in name order).
// format:  the format to read; nothing to tell it from the content
//          (detectlandmarkformat).
// options: the dimension where the caller knows it (ZOR rows and tables
//          cannot say), the missing-value code.
// markupFolder: when the file is a Slicer markup, read every markup file of
//          its kind in its folder, as a folder given by name would be (a file
//          dialog can only choose files).
// Returns the set read, with set.path the file or folder. `detected`, when
// given, receives the format read. A file or folder that cannot be read, or
// whose content is not landmark data of that format, is an InputError naming
// it and, where it applies, the line, record or specimen; when the file
// mixes line ends so that two lines read as one (mixedlineends), the
// message says so and names the first such line.
//
// Example:
//   LandmarkSet s = readlandmarks("examples/skulls.nts", std::nullopt, {});
//   LandmarkSet t = readlandmarks("scans/", LandmarkFormat::mrkjson, {});

#include <optional>
#include <string>

#include "landmarks/landmarkset.h"

namespace tarvolin {

LandmarkSet readlandmarks(const std::string& path, std::optional<LandmarkFormat> format,
                          const ReadOptions& options, bool markupFolder = false,
                          LandmarkFormat* detected = nullptr);

}  // namespace tarvolin
