#pragma once
// What the report windows (the allometry report, the data check) are built
// of alike: the room they keep, their button row, and the two small helpers
// that lay them out in the model.

#include <Eigen/Core>
#include <string_view>

#include "document/graphics.h"

namespace tarvolin {

inline constexpr double kReportMargin = 10;
inline constexpr double kReportButtonHeight = 24;
// What the window system takes of the screen's height around the drawing
// area: the title bar, the frame and the status bar.
inline constexpr double kReportFrameRoom = 90;
// The buttons "Copy table" and "Save table as CSV...", their bottom set by
// the layout.
inline const Eigen::Vector4d kReportCopy(10, 0, 130, kReportButtonHeight);
inline const Eigen::Vector4d kReportSave(150, 0, 170, kReportButtonHeight);

// A position or screen size as the model gives it: left, bottom, width, height.
Eigen::Vector4d reportrectangle(const PropertyValue& value);

// Where a report window of `size` (width, height) goes: at `corner` (left,
// bottom), moved and shrunk as far as needed to keep it on the screen, with
// its title bar, frame and status bar (kReportFrameRoom), and kReportMargin
// clear at the sides.
Eigen::Vector4d reportplace(const Graphics& graphics, const Eigen::Vector2d& size,
                            const Eigen::Vector2d& corner);

// The control (or axes) of a report window by its tag; the window makes
// every tag it looks up.
inline Handle tagged(const Graphics& graphics, std::string_view tag, Handle window) {
  return graphics.findobj(tag, window).front();
}

// The description of a report window's control.
ControlSpec reportcontrol(ControlStyle style, std::string_view tag, const char* string,
                          const Eigen::Vector4d& position, const char* tooltip);

}  // namespace tarvolin
