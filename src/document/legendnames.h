#pragma once
// What the plot legends call the workflows' point sets. The workflows name
// their plotted objects with these, and the plot window draws by them (the
// layer, the fading, the means drawn larger): one definition for both sides.

#include <string_view>

namespace tarvolin {

// The 3D and 2D workflows.
inline constexpr std::string_view kSuperimposed = "specimens, superimposed";
// 2D rows that are not superimposed, shown as read.
inline constexpr std::string_view kAsRead = "specimens, as read";
inline constexpr std::string_view kMeanShape = "mean shape";
inline constexpr std::string_view kStandardized = "standardized specimens";
inline constexpr std::string_view kStandardizedMean = "mean of standardized";
inline constexpr std::string_view kStandardizedSaved = "standardized specimens, as saved";
inline constexpr std::string_view kStandardizedSavedMean = "mean of standardized, as saved";
inline constexpr std::string_view kWireframe = "wireframe";
// The semilandmarks, drawn apart from the fixed landmarks: the specimens'
// are "semilandmarks", another set's "<its name>: semilandmarks"
// (semilandmarkname); the curves they slide on, drawn on the mean shape.
inline constexpr std::string_view kSemilandmarks = "semilandmarks";
inline constexpr std::string_view kCurves = "curves of the semilandmarks";

// The allometry report's plot.
inline constexpr std::string_view kAllometrySpecimens = "specimens";
inline constexpr std::string_view kAllometryLine = "fitted line";

// A specimen chosen in a report, in the workflow's plot: its landmarks are
// named by its ID, the lines to them so.
inline constexpr std::string_view kChosenLinks = "from the mean shape";

// The data check's plot.
inline constexpr std::string_view kCheckSpecimens = "specimens";
inline constexpr std::string_view kCheckOutliers = "far from the mean shape";
inline constexpr std::string_view kCheckLimit = "limit";

// The shape space window's plots.
inline constexpr std::string_view kPcSpecimens = "specimens";
inline constexpr std::string_view kScreeProportions = "proportion of variance";
inline constexpr std::string_view kScreeCumulative = "cumulative";

// A specimen's points before and after sliding.
inline constexpr std::string_view kAfterSliding = "after sliding";
inline constexpr std::string_view kBeforeSliding = "semilandmarks before sliding";

// A shape change, in the workflow's plot.
inline constexpr std::string_view kChangeMean = "mean shape";
inline constexpr std::string_view kDeformationGrid = "deformation grid";

}  // namespace tarvolin
