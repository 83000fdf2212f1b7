#pragma once
// One coordinate of a landmark file: a number, a mark that the landmark was
// not measured, or text that is neither.
//
// token: the text of one field, without separators (blanks around it are
//        allowed).
// Returns kind number with the value; kind missing for NA or NaN in any
// letter case, or a number equal to options.missingCode; otherwise kind
// notANumber (text), tooLarge (beyond the range of a double, such as 1e400)
// or notFinite (inf), with problemText() saying it as the end of a sentence
// that begins with the token.
//
// Example:
//   readcoordinate("-12.5", {}).value         -> -12.5
//   readcoordinate("NA", {}).kind             -> Coordinate::missing
//   readcoordinate("9999", {.missingCode = 9999}).kind -> Coordinate::missing

#include <string>
#include <string_view>

#include "landmarks/landmarkset.h"

namespace tarvolin {

struct Coordinate {
  enum Kind { number, missing, notANumber, tooLarge, notFinite };
  Kind kind = notANumber;
  double value = 0;

  std::string problemText() const;
};

Coordinate readcoordinate(std::string_view token, const ReadOptions& options);

}  // namespace tarvolin
