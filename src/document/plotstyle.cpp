#include "document/plotstyle.h"

namespace tarvolin {
namespace {

PlotColour colourOf(char letter) {
  switch (letter) {
    case 'g':
      return {0, 128, 0};
    case 'r':
      return {255, 0, 0};
    case 'c':
      return {0, 191, 191};
    case 'm':
      return {191, 0, 191};
    case 'y':
      return {191, 191, 0};
    case 'k':
      return {0, 0, 0};
    case 'w':
      return {255, 255, 255};
    default:
      return {0, 0, 255};
  }
}

}  // namespace

ParsedPlotStyle parseplotstyle(std::string_view text) {
  constexpr std::string_view colours = "bgrcmykw";
  constexpr std::string_view markers = ".ox+*sdv^<>ph";
  PlotStyle style;
  int colourCount = 0, markerCount = 0, lineCount = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (colours.find(c) != std::string_view::npos) {
      ++colourCount;
      style.colourLetter = c;
      style.colour = colourOf(c);
    } else if (c == ':') {
      ++lineCount;
      style.line = LineKind::dotted;
    } else if (c == '-') {
      ++lineCount;
      style.line = LineKind::solid;
      if (i + 1 < text.size() && text[i + 1] == '-') {
        style.line = LineKind::dashed;
        ++i;
      } else if (i + 1 < text.size() && text[i + 1] == '.') {
        style.line = LineKind::dashDot;
        ++i;
      }
    } else if (markers.find(c) != std::string_view::npos) {
      ++markerCount;
      style.marker = c;
    } else {
      return {std::nullopt, "\"" + std::string(text) + "\" is not a plot style: '" +
                                std::string(1, c) +
                                "' is neither a colour, a marker nor a line kind"};
    }
  }
  if (colourCount > 1 || markerCount > 1 || lineCount > 1) {
    return {std::nullopt, "\"" + std::string(text) +
                              "\" is not a plot style: it names more than one colour, "
                              "marker or line kind"};
  }
  if (lineCount == 0 && markerCount == 0) style.line = LineKind::solid;
  return {style, {}};
}

std::optional<std::string> plotstyleproblem(std::string_view style) {
  ParsedPlotStyle parsed = parseplotstyle(style);
  if (parsed.style) return std::nullopt;
  return std::move(parsed.problem);
}

}  // namespace tarvolin
