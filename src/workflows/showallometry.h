#pragma once
// The allometry report window: the report text in a fixed-width font, the
// regression scores plotted against x with the fitted line, and the buttons
// "Copy table" and "Save table as CSV...", whose callbacks send
// MODULE('AllometryCopy') and MODULE('AllometrySave') to the switchyard
// named `module`.
//
// The window is named "Tarvolin allometry: FILE". When `window` is still
// open it is refreshed in place (where the user put it); otherwise a new
// window is opened. Either way the window that was current before is
// current again afterwards, so that the workflow's own drawing goes where
// it went. Returns the window, as it is to be remembered.
//
// The window (tagged AllometryWindow) is laid out around its text: the text
// box on top is as high as the text's Extent says, so that every line of the
// table is in view; the buttons below it, and the plot below them fills the
// rest, lower on a small screen (down to 200 pixels), at most 466 pixels.
// A refreshed window keeps its top left corner and its width.
//
// Tags in the window: AllometryText, AllometryPlot (the axes, with the axis
// titles x's name and "regression score"), AllometryCopyButton,
// AllometrySaveButton. Legend names: "specimens" and "fitted line".
//
// Example:
//   report.window = showallometry(graphics, r, report.window, "stand3sw");

#include <optional>
#include <string_view>

#include "document/controltags.h"
#include "document/graphics.h"
#include "document/legendnames.h"
#include "workflows/allometryreport.h"

namespace tarvolin {

inline constexpr std::string_view kAllometryScore = "regression score";
using tags::kAllometryWindow;

ObjectId showallometry(Graphics& graphics, const AllometryReport& report,
                       const std::optional<ObjectId>& window, std::string_view module);

}  // namespace tarvolin
