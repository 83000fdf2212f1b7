#pragma once
// Reads the number at the start of a text when it is a plain decimal that
// converts exactly: the bulk of every data file, and the one fast reader of
// numeric text, behind parseNumber and the table readers.
//
// What it reads: an optional + or - sign, decimal digits with at most one
// point among them (at least one digit in all), then optionally e or E, an
// optional sign and one to three digits:
//
//   -12.345678   +3   .5   5.   1.5e-3   -0   7E+2
//
// Why the value is correctly rounded: when the digits, point aside, make a
// whole number m of at most 19 digits with m <= 2^53, and the decimal
// exponent p (the exponent part less the count of digits after the point)
// has |p| <= 22, both m and 10^|p| are exact doubles (Clinger's fast path).
// One multiplication or division of two exact values rounds once, to the
// double nearest the decimal's true value: bit for bit what std::from_chars
// gives. A zero mantissa is zero, with its sign, whatever the exponent.
// Longer mantissas, larger exponents, inf and nan words and the rest get 0
// back and are left to a full conversion.
//
// text:  the characters; nothing past its end is read.
// point: the decimal separator, '.' or, for decimal-comma tables, ','.
// value: set to the number when one is read, left alone otherwise.
// Returns the count of characters read, the same prefix std::from_chars
// reads (with `point` for its decimal point, and past a leading + that it
// does not take); 0 when the text does not start with such a number or the
// number is beyond the fast path. An e without an exponent after it ("1e",
// "2e+x") gives 0 as well: a full conversion reads the digits before it.
//
// Example:
//   double v = 0;
//   plaindecimal("-12.5 3", '.', v)   -> 5, v == -12.5
//   plaindecimal("1,25;x", ',', v)    -> 4, v == 1.25
//   plaindecimal("1e400", '.', v)     -> 0, v unchanged

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace tarvolin {

namespace detail {

// Reads the run of decimal digits at s into mantissa (times ten for each
// digit), adding their count to digits. Eight characters at a time where
// the text has them: the bytes' arithmetic finds the digits and their value
// without a branch per character, which the irregular lengths of fractions
// would mispredict. A carry or borrow between bytes reaches only the bytes
// after the first that is not a digit, which are not used.
[[gnu::always_inline]] inline void readdigits(const char*& s, const char* end, uint64_t& mantissa,
                                              ptrdiff_t& digits) {
  static constexpr uint64_t scale[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000};
  if constexpr (std::endian::native == std::endian::little) {
    while (end - s >= 8) {
      uint64_t bytes = 0;
      std::memcpy(&bytes, s, 8);
      const uint64_t notDigit =
          ((bytes + 0x4646464646464646) | (bytes - 0x3030303030303030)) & 0x8080808080808080;
      const int n = notDigit == 0 ? 8 : std::countr_zero(notDigit) / 8;
      if (n == 0) return;
      uint64_t v = (bytes - 0x3030303030303030) << (8 * (8 - n));
      v = v * 10 + (v >> 8);
      v = (((v & 0x000000FF000000FF) * (100 + (1000000ULL << 32))) +
           (((v >> 16) & 0x000000FF000000FF) * (1 + (10000ULL << 32)))) >>
          32;
      mantissa = (n == 8 ? mantissa * 100000000 : mantissa * scale[n]) + v;
      s += n;
      digits += n;
      if (n < 8) return;
    }
  }
  for (; s < end && *s >= '0' && *s <= '9'; ++s, ++digits) {
    mantissa = mantissa * 10 + static_cast<uint64_t>(*s - '0');
  }
}

}  // namespace detail

[[gnu::always_inline]] inline size_t plaindecimal(std::string_view text, char point,
                                                  double& value) {
  static constexpr double powers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                      1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                      1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  const char* const begin = text.data();
  const char* const end = begin + text.size();
  const char* s = begin;
  const bool negative = s < end && *s == '-';
  if (s < end && (*s == '-' || *s == '+')) ++s;
  // The whole part, a few digits of the same count from one coordinate to
  // the next, goes a character at a time: the branch predictor then runs
  // ahead through it, where the bytes' arithmetic would make each number
  // wait for the end of the one before.
  uint64_t mantissa = 0;
  const char* const wholeStart = s;
  for (unsigned d; s < end && (d = static_cast<unsigned char>(*s) - unsigned{'0'}) <= 9; ++s) {
    mantissa = mantissa * 10 + d;
  }
  ptrdiff_t digits = s - wholeStart;
  ptrdiff_t fraction = 0;
  if (s < end && *s == point) [[likely]] {
    ++s;
    detail::readdigits(s, end, mantissa, fraction);
    digits += fraction;
  }
  // Past 19 digits the mantissa may have wrapped around.
  if (digits == 0 || digits > 19) [[unlikely]] {
    return 0;
  }
  int exponent = -static_cast<int>(fraction);
  if (s < end && (*s == 'e' || *s == 'E')) [[unlikely]] {
    ++s;
    const bool negativeExponent = s < end && *s == '-';
    if (s < end && (*s == '-' || *s == '+')) ++s;
    int written = 0;
    int e = 0;
    for (; s < end && *s >= '0' && *s <= '9' && written < 4; ++s, ++written) {
      e = e * 10 + (*s - '0');
    }
    if (written == 0 || written == 4) return 0;
    exponent += negativeExponent ? -e : e;
  }
  if (mantissa > (uint64_t{1} << 53) || exponent < -22 || exponent > 22) [[unlikely]] {
    if (mantissa != 0) return 0;
    exponent = 0;
  }
  // The sign goes in as a bit: a branch on it would be mispredicted half
  // the time on coordinates around an origin. The mantissa, below 2^53,
  // converts as a signed number, in one instruction.
  const double magnitude = static_cast<double>(static_cast<int64_t>(mantissa));
  const double m = std::bit_cast<double>(std::bit_cast<uint64_t>(magnitude) |
                                         (static_cast<uint64_t>(negative) << 63));
  value = exponent < 0 ? m / powers[-exponent] : m * powers[exponent];
  return static_cast<size_t>(s - begin);
}

}  // namespace tarvolin
