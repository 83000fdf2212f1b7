#pragma once
// The fields of a CSV file a program writes for R's read.csv and for
// spreadsheets: a text quoted when it must be, a number with every digit.
//
// csvfield(text): the text as a CSV reader takes it back whole. A text
// holding a comma, a quote, a semicolon, a tab, a line end or blanks at its
// ends is quoted, inner quotes doubled; semicolons and tabs are quoted too,
// so that readers that guess the separator cannot take them for one.
// csvnumber(value): the shortest text that reads back to the same double,
// the same in every locale; NaN, Inf and -Inf as R writes them.
//
// Example:
//   csvfield("skull, left")   -> "\"skull, left\""
//   csvnumber(0.1)            -> "0.1"
//   csvnumber(1.0 / 3)        -> "0.3333333333333333"

#include <string>

namespace tarvolin {

std::string csvfield(const std::string& text);
std::string csvnumber(double value);

}  // namespace tarvolin
