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
// Tags in the window: AllometryText, AllometryPlot (the axes),
// AllometryCopyButton, AllometrySaveButton. Legend names: "specimens" and
// "fitted line".
//
// Example:
//   report.window = showallometry(graphics, r, report.window, "stand3sw");

#include <optional>
#include <string_view>

#include "allometryreport.h"
#include "platform/graphics.h"

namespace tarvolin {

inline constexpr std::string_view kAllometrySpecimens = "specimens";
inline constexpr std::string_view kAllometryLine = "fitted line";

ObjectId showallometry(Graphics& graphics, const AllometryReport& report,
                       const std::optional<ObjectId>& window, std::string_view module);

}  // namespace tarvolin
