#pragma once
// The text of a landmark file in one of the field's formats, for a set of N
// specimens of k landmarks in d dimensions. Every format reads back to the
// same specimens, IDs and coordinates, bit for bit (zor: without IDs, and
// only with ZorDigits::exact): a number is written as the shortest text that
// reads back to the same double (0.1, 1e-300, -0, 5e-324), whatever the
// locale.
//
// zor: the standardized-data layout (see standardizedtext.h), one specimen
// per line, coordinates then size, each number and a blank, then a blank and
// the line end; no IDs. With ZorDigits::six (a result: superimposed or
// standardized coordinates) the numbers are "%g", six digits, as the window
// saves them; with ZorDigits::exact (a conversion) every digit.
//
//   1 2 3 4 5 6 1.5  \n
//
// csv: a header, then one row per specimen: its ID, its d k coordinates and
// its size. An ID holding a comma, a quote, a semicolon, a tab or a blank
// at either end is quoted, with inner quotes doubled. When some size is not
// known (NaN: a specimen with a missing landmark) and no lastValue stands in
// for it, the size column is left out, as a size column must hold numbers.
//
//   id,x1,y1,z1,x2,y2,z2,size
//   skull_a,1,2,3,4,5,6.5,1.5
//   "jaw ""b"", left",1,2,3,4,5,6,2.25
//
// tps: a record per specimen, LM= (2D) or LM3= (3D) with one landmark per
// line; the semilandmarks (always the last points) on their curves as read
// (set.curves), or as one curve where those are not known; then the
// ID and, when not 1, the scale factor.
//
//   LM3=1
//   1 2 3
//   CURVES=1
//   POINTS=1
//   4 5 6.5
//   ID=skull_a
//   SCALE=0.5
//
// nts: a comment, the parameter line (N labelled rows, P = d k columns, no
// missing-value code or the code -9999, else the first of 9999, -99999,
// 99999, ... that no coordinate equals), the N IDs as labels, then one line of
// P numbers per specimen.
//
//   " written by Tarvolin
//   1 2L 6 1 -9999 DIM=3
//   skull_a
//   skull_b
//   1 2 3 4 5 6.5
//   -9999 -9999 -9999 4 5 6
//
// morphologika: [individuals] N, [landmarks] k, [dimensions] d, [names] the
// IDs, [rawpoints] with a line '#i before the k lines of specimen i, and
// [wireframe] pairs when the set has a wireframe; a blank line between
// blocks.
//
//   [individuals]
//   1
//
//   [landmarks]
//   2
//   ...
//   [rawpoints]
//   '#1
//   1 2 3
//   4 5 6.5
//
// A missing landmark is NA in each of its coordinates (csv, tps,
// morphologika), the declared code in nts. Only tps holds scale factors:
// the other formats get every coordinate times its specimen's scale factor,
// in the scaled units that the size (scale included) is in, so that a row
// never holds two units.
//
// set:       the specimens; its path names the source in errors.
// format:    zor, csv, tps, nts or morphologika; fcsv and mrkjson, which hold
//            one specimen a file, are std::invalid_argument.
// lastValue: when given, written in place of every specimen's size (zor and
//            csv, the formats with a size column); otherwise each one's size.
// sink:      receives the text in pieces of about a megabyte, in order.
// zorDigits: how zor writes its numbers (the other formats: every digit).
//
// Returns the text (the overload without a sink). A set that no reader
// would read back the same is an InputError naming the source and, where it
// applies, the specimen, before any text reaches the sink: no specimen or no
// landmark; an infinite coordinate or size, a lastValue that is not finite;
// a missing landmark or unknown size in zor; an empty or repeated ID; an ID
// holding a control character other than a tab or a line end; an ID the
// format cannot hold unchanged (a line break in csv, tps or
// morphologika; a blank anywhere in nts, at either end in tps or
// morphologika; a leading " or ' in nts, [ or ' in morphologika); a tps scale
// factor that is not a positive finite number; a wireframe pair naming a
// landmark the set does not have. A set whose parts disagree in size, or
// whose semilandmarks are not the last points, is std::invalid_argument.
//
// Example:
//   LandmarkSet set = landmarksetof(data, 3, {"skull_a", "skull_b"});
//   landmarktext(set, LandmarkFormat::csv, std::nullopt)
//       -> "id,x1,y1,z1,x2,y2,z2,size\nskull_a,1,2,3,4,5,6.5,1.5\n..."
//   writefileatomic("skulls.tps", [&](const TextSink& write) {
//     landmarktext(set, LandmarkFormat::tps, std::nullopt, write); });

#include <optional>
#include <string>

#include "core/writefileatomic.h"
#include "landmarks/landmarkset.h"

namespace tarvolin {

enum class ZorDigits { six, exact };

void landmarktext(const LandmarkSet& set, LandmarkFormat format, std::optional<double> lastValue,
                  const TextSink& sink, ZorDigits zorDigits = ZorDigits::six);

std::string landmarktext(const LandmarkSet& set, LandmarkFormat format,
                         std::optional<double> lastValue, ZorDigits zorDigits = ZorDigits::six);

}  // namespace tarvolin
