#pragma once
// The data check's report window: on top, what the check found, in words;
// below it the table of every specimen from the farthest from the mean
// shape to the nearest, in a list whose rows can be chosen; the buttons
// "Copy table" and "Save table as CSV..."; and at the bottom the plot of
// the distances in rank order with the limit drawn. Choosing a row sends
// MODULE('CheckSelect') to the switchyard named `module`, which shows the
// specimen in its plot; the buttons send MODULE('CheckCopy') and
// MODULE('CheckSave').
//
// The window is named "Tarvolin data check: FILE". When `window` is still
// open it is refreshed in place (where the user put it); otherwise a new
// window is opened. The window that was current before is current again
// afterwards. Returns the window, as it is to be remembered.
//
// Tags: CheckWindow (the window), CheckText, CheckTableHeader, CheckTable
// (the list: a row per specimen, in rank order, Value the row chosen),
// CheckPlot (axis titles "rank" and "distance to the mean shape"),
// CheckCopyButton, CheckSaveButton. Legend names: "specimens", "far from
// the mean shape", "size out of line", "far, and size out of line",
// "limit", and the chosen specimen's ID.
//
// showcheckchoice marks `rank` (from 1) chosen in the list and the plot.
//
// Example:
//   window = showcheck(graphics, report, window, "stand3sw");
//   showcheckchoice(graphics, report, window->handle, 1);

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "document/controltags.h"
#include "document/graphics.h"
#include "workflows/checkreport.h"

namespace tarvolin {

inline constexpr std::string_view kCheckDistance = "distance to the mean shape";
// The plot's specimens whose size is out of line: red diamonds, or red
// squares when they lie far from the mean shape too.
inline constexpr std::string_view kCheckSizeOutliers = "size out of line";
inline constexpr std::string_view kCheckBothOutliers = "far, and size out of line";
inline constexpr std::string_view kCheckRank = "rank";

ObjectId showcheck(Graphics& graphics, const CheckReport& report,
                   const std::optional<ObjectId>& window, std::string_view module);

void showcheckchoice(Graphics& graphics, const CheckReport& report, Handle window, int rank);

// The words the window's text shows: the header lines, then the first
// kCheckFindingsShown findings and how many more the table has (or that
// nothing looks out of line).
inline constexpr size_t kCheckFindingsShown = 12;
std::string checkwindowtext(const CheckReport& report);

}  // namespace tarvolin
