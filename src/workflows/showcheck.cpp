#include "workflows/showcheck.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "core/sprintf.h"
#include "document/actioncallback.h"
#include "document/legendnames.h"
#include "workflows/reportwindowparts.h"

namespace tarvolin {
namespace {

// From the bottom up: the plot, the buttons, the table and its header, and
// on top the text, as high as its lines need. On a small screen the plot
// gives up height first, then the table shows fewer rows (it scrolls).
constexpr double kMargin = kReportMargin;
constexpr double kButtonHeight = kReportButtonHeight;
constexpr double kWidest = 800;
constexpr double kTallestPlot = 330;
constexpr double kLowestPlot = 180;
constexpr int kMostRows = 12;  // of the table shown at once
constexpr int kFewestRows = 4;
constexpr double kListFrame = 8;  // the list's frame and padding around its rows
constexpr double kFrameRoom = kReportFrameRoom;
const Eigen::Vector2d kCorner(140, 60);
const Eigen::Vector4d kCopy = kReportCopy;
const Eigen::Vector4d kSave = kReportSave;

Handle openWindow(Graphics& graphics, std::string_view module) {
  const Handle window = graphics.figure();
  graphics.setTag(window, std::string(tags::kCheckWindow));
  const Eigen::Vector4d screen = reportrectangle(graphics.get(kRoot, "ScreenSize"));
  const double width = std::min(kWidest, screen(2) - 4 * kMargin);
  graphics.setPosition(window, Eigen::Vector4d(kCorner.x(), kCorner.y(), width, kTallestPlot));
  const Eigen::Vector4d anywhere(kMargin, kMargin, width - 2 * kMargin, kButtonHeight);
  const Handle text = graphics.uicontrol(
      window, reportcontrol(ControlStyle::text, tags::kCheckText, "", anywhere,
                            "What the check found; select text to copy a part of it"));
  graphics.setFontName(text, "monospace");
  const Handle header = graphics.uicontrol(
      window,
      reportcontrol(ControlStyle::text, tags::kCheckTableHeader, "", anywhere,
                    "Every specimen, from the farthest from the mean shape to the nearest"));
  graphics.setFontName(header, "monospace");
  ControlSpec table =
      reportcontrol(ControlStyle::listbox, tags::kCheckTable, "", anywhere,
                    "Choose a specimen to see it among the others in the plot window: "
                    "drawn larger in red, its landmarks numbered");
  table.callback = actioncallback(module, "CheckSelect");
  graphics.setFontName(graphics.uicontrol(window, table), "monospace");
  ControlSpec copy = reportcontrol(ControlStyle::pushbutton, tags::kCheckCopyButton, "Copy table",
                                   kCopy, "Put the report with its table on the clipboard as text");
  copy.callback = actioncallback(module, "CheckCopy");
  graphics.uicontrol(window, copy);
  ControlSpec save =
      reportcontrol(ControlStyle::pushbutton, tags::kCheckSaveButton, "Save table as CSV...", kSave,
                    "Write the table to a CSV file, for a spreadsheet");
  save.callback = actioncallback(module, "CheckSave");
  graphics.uicontrol(window, save);
  const Handle plot = graphics.axes(window);
  graphics.setTag(plot, std::string(tags::kCheckPlot));
  return window;
}

std::string joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    if (!text.empty()) text += '\n';
    text += line;
  }
  return text;
}

// Lays the window out around its text and table, keeping its width and its
// top left corner where they stand; a new window has its top near the
// screen's.
void layOut(Graphics& graphics, Handle window, const CheckReport& report, bool fresh) {
  const Eigen::Vector4d screen = reportrectangle(graphics.get(kRoot, "ScreenSize"));
  const Eigen::Vector4d was = reportrectangle(graphics.get(window, "Position"));
  const double width = was(2);
  const double inside = width - 2 * kMargin;
  const Handle text = tagged(graphics, tags::kCheckText, window);
  const Handle header = tagged(graphics, tags::kCheckTableHeader, window);
  const Handle table = tagged(graphics, tags::kCheckTable, window);
  // Measured at the width they will have.
  graphics.setPosition(text, Eigen::Vector4d(kMargin, kMargin, inside, kButtonHeight));
  graphics.setString(text, checkwindowtext(report));
  graphics.setPosition(header, Eigen::Vector4d(kMargin, kMargin, inside, kButtonHeight));
  graphics.setString(header, report.tableHeader);
  graphics.setString(table, joined(report.tableRows));
  graphics.setValue(table, 0);
  const double textHeight = std::ceil(reportrectangle(graphics.get(text, "Extent"))(3));
  const double headerHeight = std::ceil(reportrectangle(graphics.get(header, "Extent"))(3));
  // A row of the list is as high as the header's line, without its box.
  const double rowHeight = std::max(12.0, headerHeight - 6);

  const double rows = static_cast<double>(report.tableRows.size());
  const auto listFor = [&](double shown) { return std::ceil(shown * rowHeight + kListFrame); };
  const double fixed = textHeight + headerHeight + kButtonHeight + 5 * kMargin;
  const double room = screen(3) - kFrameRoom - fixed;
  double listHeight = listFor(std::clamp(rows, 1.0, static_cast<double>(kMostRows)));
  double plotHeight = std::clamp(room - listHeight, kLowestPlot, kTallestPlot);
  if (room - plotHeight < listHeight) {
    listHeight =
        std::max(listFor(std::min(rows, static_cast<double>(kFewestRows))), room - plotHeight);
  }
  const double height = fixed + listHeight + plotHeight;
  const double top = fresh ? screen(3) - kFrameRoom / 2 : was(1) + was(3);
  graphics.setPosition(window, Eigen::Vector4d(was(0), std::max(0.0, top - height), width, height));

  double y = kMargin;
  graphics.setPosition(tagged(graphics, tags::kCheckPlot, window),
                       Eigen::Vector4d(kMargin, y, inside, plotHeight));
  y += plotHeight + kMargin;
  Eigen::Vector4d copy = kCopy, save = kSave;
  copy(1) = save(1) = y;
  graphics.setPosition(tagged(graphics, tags::kCheckCopyButton, window), copy);
  graphics.setPosition(tagged(graphics, tags::kCheckSaveButton, window), save);
  y += kButtonHeight + kMargin;
  graphics.setPosition(table, Eigen::Vector4d(kMargin, y, inside, listHeight));
  y += listHeight;
  graphics.setPosition(header, Eigen::Vector4d(kMargin, y, inside, headerHeight));
  y += headerHeight + kMargin;
  graphics.setPosition(text, Eigen::Vector4d(kMargin, y, inside, textHeight));
}

// The distances in rank order, the ones out of line apart (far from the
// mean shape, of a size out of line, or both, each marked its own way), and
// the limit.
void plotDistances(Graphics& graphics, const CheckReport& report) {
  const DataCheck& check = report.check;
  const Eigen::Index n = static_cast<Eigen::Index>(check.byRank.size());
  // [0] in line, [1] far, [2] size out of line, [3] both.
  std::vector<double> rank[4], distance[4];
  for (Eigen::Index r = 0; r < n; ++r) {
    const SpecimenCheck& s = check.specimens[static_cast<size_t>(check.byRank[r])];
    const int kind = (s.outlier ? 1 : 0) + (s.sizeOutlier ? 2 : 0);
    rank[kind].push_back(static_cast<double>(r + 1));
    distance[kind].push_back(s.distance);
  }
  const auto row = [](const std::vector<double>& values) {
    return Eigen::Map<const Eigen::RowVectorXd>(values.data(),
                                                static_cast<Eigen::Index>(values.size()));
  };
  graphics.clearObject(graphics.gca());  // what a refreshed window showed goes
  graphics.hold(true);
  const struct {
    const char* style;
    double size;
    std::string_view name;
  } kinds[] = {{"bo", 6, kCheckSpecimens},
               {"ro", 6, kCheckOutliers},
               {"rd", 8, kCheckSizeOutliers},
               {"rs", 8, kCheckBothOutliers}};
  for (int kind = 0; kind < 4; ++kind) {
    if (rank[kind].empty()) continue;
    graphics.plot(row(rank[kind]), row(distance[kind]), kinds[kind].style, kinds[kind].size,
                  kinds[kind].name, PlotRole::checkDistances);
  }
  if (n > 0 && std::isfinite(check.limit)) {
    graphics.plot(Eigen::RowVector2d(0.5, static_cast<double>(n) + 0.5),
                  Eigen::RowVector2d(check.limit, check.limit), "k--", 6, kCheckLimit,
                  PlotRole::checkLimit);
  }
}

}  // namespace

std::string checkwindowtext(const CheckReport& report) {
  std::string head = report.text.substr(0, report.text.find(report.tableHeader));
  while (!head.empty() && (head.back() == '\n' || head.back() == ' ')) head.pop_back();
  if (report.findings.empty()) return head + "\n\nNothing looks out of line.";
  // The first findings: the table below has every one, and the text must
  // leave it and the plot room.
  const size_t shown = std::min(report.findings.size(), kCheckFindingsShown);
  std::vector<std::string> found(report.findings.begin(),
                                 report.findings.begin() + static_cast<std::ptrdiff_t>(shown));
  if (shown < report.findings.size()) {
    found.push_back(sprintf("... and %i more in the table (Copy table has them all)",
                            report.findings.size() - shown));
  }
  return head + "\n\n" + joined(found);
}

ObjectId showcheck(Graphics& graphics, const CheckReport& report,
                   const std::optional<ObjectId>& window, std::string_view module) {
  const std::optional<Handle> remembered = graphics.currentFigure();
  const bool open = window && graphics.exists(*window);
  const Handle shown = open ? window->handle : openWindow(graphics, module);
  graphics.figure(shown);
  graphics.setName(shown, "Tarvolin data check: " + report.file);
  layOut(graphics, shown, report, !open);

  const Handle plot = tagged(graphics, tags::kCheckPlot, shown);
  graphics.figure(shown);
  plotDistances(graphics, report);
  graphics.setTitle(plot, report.file + ": distance to the mean shape, in rank order");
  graphics.setXLabel(plot, std::string(kCheckRank));
  graphics.setYLabel(plot, std::string(kCheckDistance));
  if (open) graphics.setVisible(shown, true);  // brought to the front

  if (remembered && *remembered != shown && graphics.isValid(*remembered)) {
    graphics.figure(*remembered);
  }
  return graphics.id(shown);
}

void showcheckchoice(Graphics& graphics, const CheckReport& report, Handle window, int rank) {
  const DataCheck& check = report.check;
  if (rank < 1 || rank > static_cast<int>(check.byRank.size())) return;
  const Handle table = tagged(graphics, tags::kCheckTable, window);
  if (graphics.object(table).details().value != rank) graphics.setValue(table, rank);
  const std::optional<Handle> remembered = graphics.currentFigure();
  graphics.figure(window);
  const Handle plot = tagged(graphics, tags::kCheckPlot, window);
  graphics.removePlotted(plot, PlotRole::other);
  const Eigen::Index specimen = check.byRank[static_cast<size_t>(rank - 1)];
  graphics.hold(true);
  graphics.plot(PlotData::one(rank), PlotData::one(check.specimens[specimen].distance), "ms", 10,
                report.ids[static_cast<size_t>(specimen)], PlotRole::other);
  if (remembered && graphics.isValid(*remembered)) graphics.figure(*remembered);
}

}  // namespace tarvolin
