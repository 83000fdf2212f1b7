#pragma once
// What a plotted object stands for, set by whoever plots it: the renderer
// orders, fades and numbers plotted objects by their role, never by the
// legend text, which is only what the legend shows.
//
// Example:
//   graphics.plot3(x, y, z, "b*", "mean shape", PlotRole::mean);

#include <cstdint>

namespace tarvolin {

enum class PlotRole : std::uint8_t {
  other,                  // plotted by name (a session script) or not named
  specimens,              // the superimposed specimens
  mean,                   // their mean shape
  standardized,           // the specimens standardized to a chosen size
  standardizedMean,       // the mean of the standardized specimens
  savedStandardized,      // the standardized specimens, as saved
  savedStandardizedMean,  // their mean, as saved
  wireframe,              // the wires between landmarks of a mean
  curves,                 // the curves semilandmarks slide on, drawn on a mean
  allometrySpecimens,     // one point a specimen: size against regression score
  fittedLine,             // the line fitted through them
  chosen,                 // a specimen chosen in a report, shown among the others
  chosenLinks,            // the lines from the mean shape's landmarks to the chosen one's
  checkDistances,         // one point a specimen: its distance to the mean shape by rank
  checkLimit,             // the line of the limit above which a distance is out of line
  pcScores,               // one point a specimen: its scores on two principal components
  pcHull,                 // the convex hull of a group's scores
  pcChosen,               // the specimen chosen among the scores
  zeroLine,               // a dashed line through zero
  screeProportions,       // each component's share of the variance
  screeCumulative,        // the running sum of the shares
  changeMean,             // the mean shape a shape change starts from
  changeTarget,           // the shape it changes toward
  lollipops,              // segments from the mean's landmarks to the target's
  warpedWireframe,        // the wires on the mean and on the target
  deformationGrid,        // a grid deformed from the mean toward the target
  slidPoints,             // a specimen's points after its semilandmarks slid
  unslidPoints,           // its semilandmarks before they slid
  slideLinks,             // segments from where they stood to where they slid
};

}  // namespace tarvolin
