#pragma once
// The Tags of the windows and controls the code finds, compares or binds,
// as they stand in the figure files in resources/ (Tarvolin.fig for the main
// window, Tarvolin2D.fig for the 2D window). A window's Tag is also the base
// name of its figure file. kFigureTags lists which file holds which tag, so
// that a test can hold this header and the figure files to each other.
//
// Example:
//   graphics.findobj(tags::kLoadDataButton, window)
//   if (object.tag == tags::kLoadDataButton) ...

#include <array>
#include <string_view>

namespace tarvolin::tags {

// The windows (and their figure files).
inline constexpr std::string_view kMainWindow = "Tarvolin";
inline constexpr std::string_view k2DWindow = "Tarvolin2D";

// Step 1: data.
inline constexpr std::string_view kZORButton =
    "ZORButton";  // main window: read with the TPS reader
inline constexpr std::string_view kLoadDataButton = "LoadDataButton";
inline constexpr std::string_view kLoadWireButton = "LoadWireButton";  // main window
inline constexpr std::string_view kCheckDataButton = "CheckDataButton";
inline constexpr std::string_view kShapeSpaceButton = "ShapeSpaceButton";
inline constexpr std::string_view kClearButton = "ClearButton";
inline constexpr std::string_view kFileBox = "FileBox";
// Semilandmarks: the file that says which slide, the switch and its
// criterion (shown only for data with semilandmarks).
inline constexpr std::string_view kLoadSlidersButton = "LoadSlidersButton";
inline constexpr std::string_view kSlideBox = "SlideBox";
inline constexpr std::string_view kSlideCriterion = "SlideCriterion";
// Opens the window that shows a specimen before and after it slid.
inline constexpr std::string_view kShowSlidingButton = "ShowSlidingButton";
// Step 2: the x-variable.
inline constexpr std::string_view kUseCSButton = "UseCSButton";
inline constexpr std::string_view kLoadXButton = "LoadXButton";
inline constexpr std::string_view kXVarBox = "XVarBox";
inline constexpr std::string_view kXButton = "XButton";
inline constexpr std::string_view kLnButton = "LnButton";
inline constexpr std::string_view kLogButton = "LogButton";
inline constexpr std::string_view kLoadGroupsButton = "LoadGroupsButton";
inline constexpr std::string_view kMinBox = "MinBox";
inline constexpr std::string_view kMaxBox = "MaxBox";
inline constexpr std::string_view kMeanBox = "MeanBox";
inline constexpr std::string_view kMedianBox = "MedianBox";
// Step 3: standardize. Two tags say otherwise than their buttons, and are
// kept because session scripts and figure files press them by tag:
// GoRegress is the button "Accept x" (step 2's last), AcceptStandard the
// button "Standardize".
inline constexpr std::string_view kGoRegress = "GoRegress";
inline constexpr std::string_view kStandardBox = "StandardBox";
inline constexpr std::string_view kAcceptStandard = "AcceptStandard";
inline constexpr std::string_view kAllometryButton = "AllometryButton";
inline constexpr std::string_view kCSBox = "CSBox";
inline constexpr std::string_view kSaveStandard = "SaveStandard";
// The plot.
inline constexpr std::string_view kShowDataButton = "ShowDataButton";
inline constexpr std::string_view kShowStandard = "ShowStandard";
inline constexpr std::string_view kClearPlotButton = "ClearPlotButton";  // main window
inline constexpr std::string_view kCopyPlotButton = "CopyPlotButton";    // main window
inline constexpr std::string_view kOpen2DButton = "Open2DButton";        // main window
inline constexpr std::string_view kAboutBox = "AboutBox";                // 2D window
inline constexpr std::string_view kPlotArea = "PlotArea";                // 2D window

// The allometry report, a window the workflow makes itself (no figure file).
inline constexpr std::string_view kAllometryWindow = "AllometryWindow";
inline constexpr std::string_view kAllometryText = "AllometryText";
inline constexpr std::string_view kAllometryPlot = "AllometryPlot";
inline constexpr std::string_view kAllometryCopyButton = "AllometryCopyButton";
inline constexpr std::string_view kAllometrySaveButton = "AllometrySaveButton";

// The data check's report, another window the workflow makes itself.
inline constexpr std::string_view kCheckWindow = "CheckWindow";
inline constexpr std::string_view kCheckText = "CheckText";
inline constexpr std::string_view kCheckTableHeader = "CheckTableHeader";
inline constexpr std::string_view kCheckTable = "CheckTable";
inline constexpr std::string_view kCheckPlot = "CheckPlot";
inline constexpr std::string_view kCheckCopyButton = "CheckCopyButton";
inline constexpr std::string_view kCheckSaveButton = "CheckSaveButton";

// The shape space window, made by the workflow too.
inline constexpr std::string_view kShapeSpaceWindow = "ShapeSpaceWindow";
inline constexpr std::string_view kShapeOfSuperimposed = "ShapeOfSuperimposed";
inline constexpr std::string_view kShapeOfStandardized = "ShapeOfStandardized";
inline constexpr std::string_view kShapePCX = "ShapePCX";
inline constexpr std::string_view kShapePCY = "ShapePCY";
inline constexpr std::string_view kShapeHulls = "ShapeHulls";
inline constexpr std::string_view kShapeSpacePlot = "ShapeSpacePlot";
inline constexpr std::string_view kShapeScreePlot = "ShapeScreePlot";
inline constexpr std::string_view kShapeChangePC = "ShapeChangePC";
inline constexpr std::string_view kShapeChangeEnds = "ShapeChangeEnds";
inline constexpr std::string_view kShapeChangeSD = "ShapeChangeSD";
inline constexpr std::string_view kShapeMagnify = "ShapeMagnify";
inline constexpr std::string_view kShapeChangeGrid = "ShapeChangeGrid";
inline constexpr std::string_view kShapeChangeButton = "ShapeChangeButton";
inline constexpr std::string_view kShapeScoresSaveButton = "ShapeScoresSaveButton";
// The window of a specimen's points before and after sliding, made by the
// workflow too.
inline constexpr std::string_view kSlidingWindow = "SlidingWindow";
inline constexpr std::string_view kSlidingSpecimen = "SlidingSpecimen";
inline constexpr std::string_view kSlidingText = "SlidingText";
inline constexpr std::string_view kSlidingPlot = "SlidingPlot";
// The allometry report's shape change.
inline constexpr std::string_view kAllometryMagnify = "AllometryMagnify";
inline constexpr std::string_view kAllometryChangeButton = "AllometryChangeButton";

// Which figure files hold a tag.
struct FigureTag {
  std::string_view tag;
  bool inMain;  // Tarvolin.fig
  bool in2D;    // Tarvolin2D.fig
};

inline constexpr std::array kFigureTags{
    FigureTag{kMainWindow, true, false},
    FigureTag{k2DWindow, false, true},
    FigureTag{kZORButton, true, false},
    FigureTag{kLoadDataButton, true, true},
    FigureTag{kLoadWireButton, true, false},
    FigureTag{kCheckDataButton, true, true},
    FigureTag{kShapeSpaceButton, true, true},
    FigureTag{kClearButton, true, true},
    FigureTag{kFileBox, true, true},
    FigureTag{kLoadSlidersButton, true, true},
    FigureTag{kSlideBox, true, true},
    FigureTag{kSlideCriterion, true, true},
    FigureTag{kShowSlidingButton, true, true},
    FigureTag{kUseCSButton, true, true},
    FigureTag{kLoadXButton, true, true},
    FigureTag{kXVarBox, true, true},
    FigureTag{kXButton, true, true},
    FigureTag{kLnButton, true, true},
    FigureTag{kLogButton, true, true},
    FigureTag{kLoadGroupsButton, true, true},
    FigureTag{kMinBox, true, true},
    FigureTag{kMaxBox, true, true},
    FigureTag{kMeanBox, true, true},
    FigureTag{kMedianBox, true, true},
    FigureTag{kGoRegress, true, true},
    FigureTag{kStandardBox, true, true},
    FigureTag{kAcceptStandard, true, true},
    FigureTag{kAllometryButton, true, true},
    FigureTag{kCSBox, true, true},
    FigureTag{kSaveStandard, true, true},
    FigureTag{kShowDataButton, true, true},
    FigureTag{kShowStandard, true, true},
    FigureTag{kClearPlotButton, true, false},
    FigureTag{kCopyPlotButton, true, false},
    FigureTag{kOpen2DButton, true, false},
    FigureTag{kAboutBox, false, true},
    FigureTag{kPlotArea, false, true},
};

}  // namespace tarvolin::tags
