#pragma once
// A plot style taken apart once, so that nothing downstream reads the text
// again: "bo" is blue circles, "k:" a dotted black line, "r*-" red stars
// joined by a solid line, "g" a solid green line.
//
// A style is a colour letter (b g r c m y k w) with a marker
// (. o x + * s d v ^ < > p h) and/or a line kind (- : -- -.), in any order,
// each at most once. Without a colour the style is blue; a colour alone (or
// nothing at all) is a solid line; a marker alone is markers only.
//
// Example:
//   parseplotstyle("k:").style   -> {colour {0, 0, 0}, letter 'k', marker 0, LineKind::dotted}
//   parseplotstyle("bq").problem -> "\"bq\" is not a plot style: 'q' is neither a colour, ..."

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarvolin {

enum class LineKind : std::uint8_t { none, solid, dotted, dashed, dashDot };

struct PlotColour {
  std::uint8_t red = 0, green = 0, blue = 255;
  bool operator==(const PlotColour&) const = default;
};

struct PlotStyle {
  char colourLetter = 'b';
  PlotColour colour;
  char marker = 0;  // one of . o x + * s d v ^ < > p h; 0: no markers
  LineKind line = LineKind::none;
  bool operator==(const PlotStyle&) const = default;
};

// The style, or the problem with the text when it is not a style.
struct ParsedPlotStyle {
  std::optional<PlotStyle> style;
  std::string problem;
};

ParsedPlotStyle parseplotstyle(std::string_view text);

// The problem with a style text, or nothing when it is a style.
std::optional<std::string> plotstyleproblem(std::string_view style);

}  // namespace tarvolin
