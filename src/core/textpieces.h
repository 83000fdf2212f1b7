#pragma once
// Writes a long table to `sink` a piece at a time, the pieces formatted on
// every core at once and written out in order: formatting numbers is most
// of the cost of writing a large data set, and the text is never held
// whole.
//
// rows: the rows of the table; charsPerRow: about how long a row's text is
// (pieces hold about half a megabyte, and at least 16 rows, so that rows
// copied out of a column-major matrix use whole cache lines);
// formatRows(first, last, text) appends rows first .. last - 1 to text.
//
// Example:
//   textpieces(data.rows(), 12 * data.cols(),
//              [&](Eigen::Index first, Eigen::Index last, std::string& text) {
//                for (Eigen::Index i = first; i < last; ++i) text += rowtext(i);
//              },
//              sink);

#include <Eigen/Core>
#include <functional>
#include <string>

#include "core/textsink.h"

namespace tarvolin {

void textpieces(Eigen::Index rows, Eigen::Index charsPerRow,
                const std::function<void(Eigen::Index, Eigen::Index, std::string&)>& formatRows,
                const TextSink& sink);

}  // namespace tarvolin
