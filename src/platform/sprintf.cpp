#include "sprintf.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>

#include "clocalescope.h"

namespace tarvolin {
namespace {

struct Conversion {
  std::string flags;
  std::string width;
  std::string precision;  // with its leading '.', or empty
  char type = 0;
};

// One piece of a parsed format: literal text, or a conversion.
struct Piece {
  std::string literal;
  Conversion conversion;
  bool isConversion = false;
};

char escapedChar(char c) {
  switch (c) {
    case 'n':
      return '\n';
    case 't':
      return '\t';
    case 'r':
      return '\r';
    case 'a':
      return '\a';
    case 'b':
      return '\b';
    case 'f':
      return '\f';
    case 'v':
      return '\v';
    case '\\':
      return '\\';
    default:
      return 0;
  }
}

bool isConversionType(char c) {
  switch (c) {
    case 'd':
    case 'i':
    case 'u':
    case 'f':
    case 'F':
    case 'e':
    case 'E':
    case 'g':
    case 'G':
    case 's':
    case 'c':
      return true;
    default:
      return false;
  }
}

std::vector<Piece> parseFormat(std::string_view format) {
  std::vector<Piece> pieces;
  std::string literal;
  auto flushLiteral = [&] {
    if (!literal.empty()) {
      pieces.push_back(Piece{std::move(literal), {}, false});
      literal.clear();
    }
  };
  size_t i = 0;
  while (i < format.size()) {
    char c = format[i];
    if (c == '\\' && i + 1 < format.size() && escapedChar(format[i + 1]) != 0) {
      literal += escapedChar(format[i + 1]);
      i += 2;
      continue;
    }
    if (c != '%') {
      literal += c;
      ++i;
      continue;
    }
    if (i + 1 < format.size() && format[i + 1] == '%') {
      literal += '%';
      i += 2;
      continue;
    }
    // %[flags][width][.precision]type
    size_t j = i + 1;
    Conversion conv;
    while (j < format.size() &&
           std::string_view("-+ #0").find(format[j]) != std::string_view::npos) {
      conv.flags += format[j++];
    }
    while (j < format.size() && format[j] >= '0' && format[j] <= '9') conv.width += format[j++];
    if (j < format.size() && format[j] == '.') {
      conv.precision += format[j++];
      while (j < format.size() && format[j] >= '0' && format[j] <= '9') {
        conv.precision += format[j++];
      }
    }
    if (j < format.size() && isConversionType(format[j])) {
      conv.type = format[j];
      flushLiteral();
      pieces.push_back(Piece{{}, std::move(conv), true});
      i = j + 1;
    } else {
      // Not a conversion this formatter knows: written as it stands.
      literal.append(format.substr(i, j - i));
      i = j;
    }
  }
  flushLiteral();
  return pieces;
}

void appendPrintf(std::string& out, const std::string& cformat, auto value) {
  char buffer[128];
  int n = std::snprintf(buffer, sizeof buffer, cformat.c_str(), value);
  if (n < 0) return;
  if (static_cast<size_t>(n) < sizeof buffer) {
    out.append(buffer, static_cast<size_t>(n));
    return;
  }
  std::string big(static_cast<size_t>(n) + 1, '\0');
  std::snprintf(big.data(), big.size(), cformat.c_str(), value);
  out.append(big.data(), static_cast<size_t>(n));
}

std::string cFormat(const Conversion& conv, std::string_view length, char type) {
  std::string f = "%";
  f += conv.flags;
  f += conv.width;
  f += conv.precision;
  f += length;
  f += type;
  return f;
}

bool isWholeNumber(double v) {
  return std::isfinite(v) && v == std::floor(v) && std::fabs(v) < 9.2e18;
}

void appendNumber(std::string& out, const Conversion& conv, double value) {
  switch (conv.type) {
    case 'd':
    case 'i':
    case 'u':
      if (isWholeNumber(value)) {
        appendPrintf(out, cFormat(conv, "ll", 'd'), static_cast<long long>(value));
      } else {
        appendPrintf(out, cFormat(conv, "", 'e'), value);
      }
      return;
    case 'c':
      if (isWholeNumber(value) && value >= 0 && value < 256) {
        appendPrintf(out, cFormat(conv, "", 'c'), static_cast<int>(value));
      } else {
        appendPrintf(out, cFormat(conv, "", 'e'), value);
      }
      return;
    case 's':
      appendPrintf(out, cFormat(conv, "", 'g'), value);
      return;
    case 'g':
      if (conv.flags.empty() && conv.width.empty() && conv.precision.empty()) {
        appendG(out, value);
        return;
      }
      [[fallthrough]];
    default:
      appendPrintf(out, cFormat(conv, "", conv.type), value);
  }
}

void appendText(std::string& out, const Conversion& conv, const std::string& text) {
  if (conv.flags.empty() && conv.width.empty() && conv.precision.empty()) {
    out += text;
    return;
  }
  Conversion asString = conv;
  asString.flags.erase(
      std::remove_if(asString.flags.begin(), asString.flags.end(), [](char f) { return f != '-'; }),
      asString.flags.end());
  appendPrintf(out, cFormat(asString, "", 's'), text.c_str());
}

}  // namespace

namespace {

// 128-bit integers, a GCC and clang extension.
__extension__ typedef unsigned __int128 Wide;

// 10^p, for p from 0 to 22, exactly.
Wide powerOfTen(int p) {
  Wide ten = 1;
  for (int i = 0; i < p; ++i) ten *= 10;
  return ten;
}

const std::array<Wide, 23> kPowersOfTen = [] {
  std::array<Wide, 23> powers{};
  for (int p = 0; p < 23; ++p) powers[static_cast<size_t>(p)] = powerOfTen(p);
  return powers;
}();

// "%g" of the six significant digits `digits` (100000 to 999999) times
// 10^(exponent - 5): printf's choice between the fixed and the exponent form,
// trailing zeros of the fraction left out.
void appendSixDigits(std::string& out, bool negative, std::uint32_t digits, int exponent) {
  char text[6];
  for (int i = 5; i >= 0; --i) {
    text[i] = static_cast<char>('0' + digits % 10);
    digits /= 10;
  }
  int last = 5;  // the last digit to write: trailing zeros go
  while (last > 0 && text[last] == '0') --last;
  // Written into a buffer first and appended once: at most "-0.0001" and
  // six digits, or "-d.ddddde-XX".
  char buffer[24];
  char* end = buffer;
  if (negative) *end++ = '-';
  auto copy = [&end](const char* from, int count) {
    for (int i = 0; i < count; ++i) *end++ = from[i];
  };
  if (exponent < -4 || exponent >= 6) {
    *end++ = text[0];
    if (last > 0) {
      *end++ = '.';
      copy(text + 1, last);
    }
    *end++ = 'e';
    *end++ = exponent < 0 ? '-' : '+';
    const int magnitude = exponent < 0 ? -exponent : exponent;
    if (magnitude >= 100) *end++ = static_cast<char>('0' + magnitude / 100);
    *end++ = static_cast<char>('0' + magnitude / 10 % 10);
    *end++ = static_cast<char>('0' + magnitude % 10);
  } else if (exponent >= 0) {
    copy(text, exponent + 1);
    if (last > exponent) {
      *end++ = '.';
      copy(text + exponent + 1, last - exponent);
    }
  } else {
    *end++ = '0';
    *end++ = '.';
    for (int i = 0; i < -exponent - 1; ++i) *end++ = '0';
    copy(text, last + 1);
  }
  out.append(buffer, static_cast<size_t>(end - buffer));
}

// "%g" of `value` computed exactly in integers, for the values a data file
// holds (from 1e-17 to below 1e6): the double is m 2^k, its six significant
// digits are m 10^p / 2^-k rounded to nearest, ties to even, as printf
// rounds. False for other values, which are left to the library.
bool appendGExactly(std::string& out, double value) {
  const auto bits = std::bit_cast<std::uint64_t>(value);
  const int biased = static_cast<int>((bits >> 52) & 0x7ff);
  // Zero, subnormal numbers, infinities and NaN are the library's.
  if (biased == 0 || biased == 0x7ff) return false;
  const std::uint64_t mantissa = (bits & ((std::uint64_t{1} << 52) - 1)) | (std::uint64_t{1} << 52);
  const int shift = 1075 - biased;  // |value| = mantissa / 2^shift
  const int binary = 53 - shift;    // |value| lies in [2^(binary - 1), 2^binary)
  // The decimal exponent, found from the binary one and corrected below.
  int exponent = static_cast<int>(std::floor((binary - 1) * 0.30102999566398120));
  for (int attempt = 0; attempt < 3; ++attempt) {
    const int p = 5 - exponent;
    if (p < 0 || p > 22 || shift < 1 || shift > 126) return false;
    const Wide scaled = static_cast<Wide>(mantissa) * kPowersOfTen[static_cast<size_t>(p)];
    const Wide whole = scaled >> shift;
    if (whole < 100000) {
      --exponent;
      continue;
    }
    if (whole >= 1000000) {
      ++exponent;
      continue;
    }
    const Wide rest = scaled - (whole << shift);
    const Wide half = static_cast<Wide>(1) << (shift - 1);
    auto digits = static_cast<std::uint32_t>(whole);
    if (rest > half || (rest == half && (digits & 1) != 0)) ++digits;
    if (digits == 1000000) {
      digits = 100000;
      ++exponent;
    }
    appendSixDigits(out, value < 0, digits, exponent);
    return true;
  }
  return false;
}

}  // namespace

void appendG(std::string& out, double value) {
  if (appendGExactly(out, value)) return;
  char buffer[32];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 6);
  out.append(buffer, result.ptr);
}

std::string vsprintf(std::string_view format, std::span<const FormatArg> args) {
  const std::vector<Piece> pieces = parseFormat(format);
  std::string out;
  size_t next = 0;
  bool anyConversion = false;
  for (const Piece& p : pieces) anyConversion = anyConversion || p.isConversion;

  if (args.empty() || !anyConversion) {
    for (const Piece& p : pieces) {
      if (!p.isConversion) out += p.literal;
    }
    return out;
  }

  // snprintf writes the locale's decimal separator, and a desktop session may
  // have set a decimal comma; the boxes and files want the C locale's point.
  const CLocaleScope cNumbers;
  while (next < args.size()) {
    for (const Piece& p : pieces) {
      if (!p.isConversion) {
        out += p.literal;
        continue;
      }
      if (next >= args.size()) return out;
      const FormatArg& arg = args[next++];
      if (const double* number = std::get_if<double>(&arg)) {
        appendNumber(out, p.conversion, *number);
      } else {
        appendText(out, p.conversion, std::get<std::string>(arg));
      }
    }
  }
  return out;
}

}  // namespace tarvolin
