#include "workflows/showallometry.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "document/actioncallback.h"
#include "document/controltags.h"
#include "workflows/reportwindowparts.h"

namespace tarvolin {
namespace {

// The window's layout, from the bottom up: the plot, the buttons above it,
// and on top the text, as high as its lines need at the window's width. On a
// small screen (or at a large scaling) the plot gives up height first, so
// that the whole table stays in view.
constexpr double kMargin = kReportMargin;
constexpr double kButtonHeight = kReportButtonHeight;
constexpr double kWidest = 800;
constexpr double kTallestPlot = 466;
constexpr double kLowestPlot = 200;
constexpr double kFrameRoom = kReportFrameRoom;
const Eigen::Vector2d kCorner(120, 60);
const Eigen::Vector4d kCopy = kReportCopy;
const Eigen::Vector4d kSave = kReportSave;
const Eigen::Vector4d kMagnifyLabel(340, 0, 60, kReportButtonHeight);
const Eigen::Vector4d kMagnify(400, 0, 45, kReportButtonHeight);
const Eigen::Vector4d kChange(455, 0, 160, kReportButtonHeight);

// Opens the window with its controls and empty axes.
Handle openWindow(Graphics& graphics, std::string_view module) {
  const Handle window = graphics.figure();
  graphics.setTag(window, std::string(kAllometryWindow));
  const Eigen::Vector4d screen = reportrectangle(graphics.get(kRoot, "ScreenSize"));
  const double width = std::min(kWidest, screen(2) - 4 * kMargin);
  graphics.setPosition(window, Eigen::Vector4d(kCorner.x(), kCorner.y(), width, kTallestPlot));
  const Handle text = graphics.uicontrol(
      window,
      reportcontrol(ControlStyle::text, tags::kAllometryText, "",
                    Eigen::Vector4d(kMargin, kMargin, width - 2 * kMargin, kButtonHeight),
                    "The Procrustes ANOVA of shape on x; select text to copy a part of it"));
  graphics.setFontName(text, "monospace");
  ControlSpec copy =
      reportcontrol(ControlStyle::pushbutton, tags::kAllometryCopyButton, "Copy table", kCopy,
                    "Put the report with its table on the clipboard as text");
  copy.callback = actioncallback(module, "AllometryCopy");
  graphics.uicontrol(window, copy);
  ControlSpec save =
      reportcontrol(ControlStyle::pushbutton, tags::kAllometrySaveButton, "Save table as CSV...",
                    kSave, "Write the table to a CSV file, for a spreadsheet");
  save.callback = actioncallback(module, "AllometrySave");
  graphics.uicontrol(window, save);
  graphics.uicontrol(window, reportcontrol(ControlStyle::text, "", "Magnify", kMagnifyLabel, ""));
  ControlSpec magnify = reportcontrol(ControlStyle::edit, tags::kAllometryMagnify, "1", kMagnify,
                                      "How many times the shape change is magnified, 1 to 10");
  magnify.callback = actioncallback(module, "AllometryChange");
  magnify.numbers = std::pair{1.0, 10.0};
  graphics.uicontrol(window, magnify);
  ControlSpec change = reportcontrol(
      ControlStyle::pushbutton, tags::kAllometryChangeButton, "Show shape change", kChange,
      "Draw in the plot window the mean shape and the shapes the regression predicts at the "
      "smallest x (blue) and the largest x (red): the shape change that standardization takes out");
  change.callback = actioncallback(module, "AllometryChange");
  graphics.uicontrol(window, change);
  const Handle plot = graphics.axes(window);
  graphics.setTag(plot, std::string(tags::kAllometryPlot));
  return window;
}

// Lays the window out around its text, keeping its width and its top left
// corner where it stands; a new window has its top near the screen's.
void layOut(Graphics& graphics, Handle window, const std::string& report, bool fresh) {
  const Eigen::Vector4d screen = reportrectangle(graphics.get(kRoot, "ScreenSize"));
  const Eigen::Vector4d was = reportrectangle(graphics.get(window, "Position"));
  const double width = was(2);
  const Handle text = graphics.findobj(tags::kAllometryText, window).front();
  // Measured at the width the text will have.
  graphics.setPosition(text, Eigen::Vector4d(kMargin, kMargin, width - 2 * kMargin, kButtonHeight));
  graphics.setString(text, report);
  const double textHeight = std::ceil(reportrectangle(graphics.get(text, "Extent"))(3));
  const double fixed = textHeight + kButtonHeight + 4 * kMargin;
  const double plotHeight = std::clamp(screen(3) - kFrameRoom - fixed, kLowestPlot, kTallestPlot);
  const double height = fixed + plotHeight;
  const double top = fresh ? screen(3) - kFrameRoom / 2 : was(1) + was(3);
  graphics.setPosition(window, Eigen::Vector4d(was(0), std::max(0.0, top - height), width, height));
  graphics.setPosition(graphics.findobj(tags::kAllometryPlot, window).front(),
                       Eigen::Vector4d(kMargin, kMargin, width - 2 * kMargin, plotHeight));
  const double buttons = 2 * kMargin + plotHeight;
  Eigen::Vector4d copy = kCopy, save = kSave;
  copy(1) = save(1) = buttons;
  graphics.setPosition(graphics.findobj(tags::kAllometryCopyButton, window).front(), copy);
  graphics.setPosition(graphics.findobj(tags::kAllometrySaveButton, window).front(), save);
  Eigen::Vector4d label = kMagnifyLabel, magnify = kMagnify, change = kChange;
  label(1) = magnify(1) = change(1) = buttons;
  for (const Handle h : graphics.object(window).children) {
    const GraphicsObject& o = graphics.object(h);
    if (o.type == ObjectType::uicontrol && o.tag.empty()) graphics.setPosition(h, label);
  }
  graphics.setPosition(graphics.findobj(tags::kAllometryMagnify, window).front(), magnify);
  graphics.setPosition(graphics.findobj(tags::kAllometryChangeButton, window).front(), change);
  graphics.setPosition(text, Eigen::Vector4d(kMargin, buttons + kButtonHeight + kMargin,
                                             width - 2 * kMargin, textHeight));
}

}  // namespace

ObjectId showallometry(Graphics& graphics, const AllometryReport& report,
                       const std::optional<ObjectId>& window, std::string_view module) {
  const std::optional<Handle> remembered = graphics.currentFigure();
  const bool open = window && graphics.exists(*window);
  const Handle shown = open ? window->handle : openWindow(graphics, module);
  graphics.figure(shown);
  graphics.setName(shown, "Tarvolin allometry: " + report.file);
  layOut(graphics, shown, report.text, !open);

  const Handle plot = graphics.findobj(tags::kAllometryPlot, shown).front();
  graphics.hold(false);  // the next plot replaces what a refreshed window showed
  const Eigen::VectorXd& x = report.x;
  graphics.plot(x.transpose(), report.score.score.transpose(), "bo", 6, kAllometrySpecimens,
                PlotRole::allometrySpecimens);
  graphics.hold(true);
  const Eigen::RowVector2d ends(x.minCoeff(), x.maxCoeff());
  const Eigen::RowVector2d fitted =
      (report.score.line(0) * ends.array() + report.score.line(1)).matrix();
  graphics.plot(ends, fitted, "r-", 6, kAllometryLine, PlotRole::fittedLine);
  graphics.setTitle(plot, report.file + ": regression score against " + report.xname);
  graphics.setXLabel(plot, report.xname);
  graphics.setYLabel(plot, std::string(kAllometryScore));
  if (open) graphics.setVisible(shown, true);  // brought to the front

  if (remembered && *remembered != shown && graphics.isValid(*remembered)) {
    graphics.figure(*remembered);
  }
  return graphics.id(shown);
}

}  // namespace tarvolin
