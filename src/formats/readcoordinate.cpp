#include "formats/readcoordinate.h"

#include <cmath>

#include "core/str2num.h"

namespace tarvolin {
namespace {

bool sameWord(std::string_view token, std::string_view word) {
  if (token.size() != word.size()) return false;
  for (size_t i = 0; i < token.size(); ++i) {
    const char c = token[i] >= 'A' && token[i] <= 'Z' ? static_cast<char>(token[i] + 32) : token[i];
    if (c != word[i]) return false;
  }
  return true;
}

std::string_view trimmed(std::string_view token) {
  while (!token.empty() && isNumberSeparator(token.front()) && token.front() != ',') {
    token.remove_prefix(1);
  }
  while (!token.empty() && isNumberSeparator(token.back()) && token.back() != ',') {
    token.remove_suffix(1);
  }
  return token;
}

}  // namespace

std::string Coordinate::problemText() const {
  switch (kind) {
    case tooLarge:
      return "is too large for a number";
    case notFinite:
      return "is not a finite number";
    case notANumber:
      return "is not a number";
    default:
      return {};
  }
}

Coordinate readcoordinate(std::string_view token, const ReadOptions& options) {
  token = trimmed(token);
  Coordinate result;
  if (sameWord(token, "na") || sameWord(token, "nan")) {
    result.kind = Coordinate::missing;
    return result;
  }
  double value = 0;
  if (token.empty() || parseNumber(token, value) != token.size()) return result;
  if (std::isnan(value)) {
    result.kind = Coordinate::missing;
  } else if (std::isinf(value)) {
    // parseNumber gives infinity both for the words and for a number beyond
    // the range of a double.
    const char first = token[0] == '+' || token[0] == '-' ? token.substr(1).front() : token[0];
    result.kind = (first >= '0' && first <= '9') || first == '.' ? Coordinate::tooLarge
                                                                 : Coordinate::notFinite;
  } else if (options.missingCode && value == *options.missingCode) {
    result.kind = Coordinate::missing;
  } else {
    result.kind = Coordinate::number;
    result.value = value;
  }
  return result;
}

}  // namespace tarvolin
