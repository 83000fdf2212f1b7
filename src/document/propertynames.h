#pragma once
// The names of the properties the window document reports as changed and a
// view compares to know what to redraw ("Position", "String", ...), as
// Graphics::set takes them.
//
// Example:
//   if (property == props::kPosition) window.applyPosition();

#include <string_view>

namespace tarvolin::props {

inline constexpr std::string_view kCurrentFigure = "CurrentFigure";
inline constexpr std::string_view kFontName = "FontName";
inline constexpr std::string_view kName = "Name";
inline constexpr std::string_view kOuterPosition = "OuterPosition";
inline constexpr std::string_view kPosition = "Position";
inline constexpr std::string_view kString = "String";
inline constexpr std::string_view kValue = "Value";
inline constexpr std::string_view kVisible = "Visible";

}  // namespace tarvolin::props
