#include "sprintf.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

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

void appendG(std::string& out, double value) {
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
