#include "showallometry.h"

#include <string>

namespace tarvolin {
namespace {

// The window's layout: the text on top, the buttons below it, the plot under them.
const Eigen::Vector4d kWindow(120, 60, 800, 660);
const Eigen::Vector4d kText(10, 520, 780, 130);
const Eigen::Vector4d kCopy(10, 486, 130, 24);
const Eigen::Vector4d kSave(150, 486, 170, 24);
const Eigen::Vector4d kPlot(10, 10, 780, 466);

Eigen::MatrixXd row(const Eigen::Vector4d& v) { return Eigen::MatrixXd(v.transpose()); }

ControlSpec control(ControlStyle style, const char* tag, const char* string,
                    const Eigen::Vector4d& position, const char* tooltip) {
  ControlSpec described;
  described.style = style;
  described.tag = tag;
  described.string = string;
  described.position = position;
  described.tooltip = tooltip;
  return described;
}

// Opens the window with its controls and empty axes.
Handle openWindow(Graphics& graphics, std::string_view module) {
  const Handle window = graphics.figure();
  graphics.set(window, "Position", row(kWindow));
  const Handle text = graphics.uicontrol(
      window, control(ControlStyle::text, "AllometryText", "", kText,
                      "The Procrustes ANOVA of shape on x; select text to copy a part of it"));
  graphics.set(text, "FontName", std::string("monospace"));
  ControlSpec copy = control(ControlStyle::pushbutton, "AllometryCopyButton", "Copy table", kCopy,
                             "Put the report with its table on the clipboard as text");
  copy.callback = std::string(module) + "('AllometryCopy')";
  graphics.uicontrol(window, copy);
  ControlSpec save =
      control(ControlStyle::pushbutton, "AllometrySaveButton", "Save table as CSV...", kSave,
              "Write the table to a CSV file, for a spreadsheet");
  save.callback = std::string(module) + "('AllometrySave')";
  graphics.uicontrol(window, save);
  const Handle plot = graphics.axes(window);
  graphics.set(plot, "Tag", std::string("AllometryPlot"));
  graphics.set(plot, "Position", row(kPlot));
  return window;
}

}  // namespace

ObjectId showallometry(Graphics& graphics, const AllometryReport& report,
                       const std::optional<ObjectId>& window, std::string_view module) {
  const std::optional<Handle> remembered = graphics.currentFigure();
  const bool open = window && graphics.exists(*window);
  const Handle shown = open ? window->handle : openWindow(graphics, module);
  graphics.figure(shown);
  graphics.set(shown, "Name", "Tarvolin allometry: " + report.file);
  graphics.set(graphics.findobj("AllometryText", shown).front(), "String", report.text);

  const Handle plot = graphics.findobj("AllometryPlot", shown).front();
  graphics.hold(false);  // the next plot replaces what a refreshed window showed
  const Eigen::VectorXd& x = report.x;
  graphics.plot(x.transpose(), report.score.score.transpose(), "bo", 6, kAllometrySpecimens);
  graphics.hold(true);
  const Eigen::RowVector2d ends(x.minCoeff(), x.maxCoeff());
  const Eigen::RowVector2d fitted =
      (report.score.line(0) * ends.array() + report.score.line(1)).matrix();
  graphics.plot(ends, fitted, "r-", 6, kAllometryLine);
  graphics.set(plot, "Title", report.file + ": regression score against " + report.xname);
  if (open) graphics.set(shown, "Visible", std::string("on"));  // brought to the front

  if (remembered && *remembered != shown && graphics.isValid(*remembered)) {
    graphics.figure(*remembered);
  }
  return graphics.id(shown);
}

}  // namespace tarvolin
