#pragma once
// The parts renderaxes is built from, each in a file of its own job:
//   axesstyle.cpp    plot styles ("bo", "k:"), marker shapes and pens, the means' growth
//   objectkind.cpp   what a plotted object is to the picture (kindof) and the drawing order
//   axesmargins.cpp  where the data go in the area: limits, margins, the data-to-device map
//   axesticks.cpp    round ticks, their numbers, the text helpers and the title
//   axesframe2d.cpp  the box of a flat plot with its ticks, numbers and axis titles
//   axesframe3d.cpp  the view's projection and the 3D box with its numbers and letters
//   axeslegend.cpp   the legend: its entries, its place clear of the data, its drawing
//   axesraster.cpp   the fast path: markers stamped straight into an ARGB32 image
//   renderaxes.cpp   lines, markers drawn as vector shapes, landmark numbers, and the
//                    public functions that put the parts together
// Only those files include this header; renderaxes.h is the face for everyone else.

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <map>
#include <numbers>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <unordered_set>
#include <vector>

#include "desktop/renderaxes.h"
#include "document/graphics.h"

namespace tarvolin::axesdrawing {

inline constexpr double kDegree = std::numbers::pi / 180;

inline const QColor kFrameColour(90, 90, 90);
inline const QColor kTextColour(40, 40, 40);
// The numbers on the axes, the axis titles and the legend.
inline constexpr int kFontPixels = 11;
inline constexpr double kTickLength = 5;
inline constexpr double kLabelGap = 3;  // between a tick and its number
// The room the title takes above the plot.
inline constexpr double kTitleRoom = 20;
// The room an axis title takes below or left of a flat plot.
inline constexpr double kAxisTitleRoom = 17;
// The room a flat plot keeps below its box and left of it for the tick labels.
inline constexpr double kMarginLeft = 60, kMarginBottom = 30;
// Behind the legend and the landmark numbers: light, the data faintly through it.
inline const QColor kLegendBackground(255, 255, 255, 215);

// A plot style in Qt's terms: "bo" is blue circles, "k:" a dotted black
// line, "r*-" red stars joined by a solid line.
struct PlotStyle {
  QColor colour = QColor(0, 0, 255);
  char marker = 0;                // 0: no markers
  Qt::PenStyle line = Qt::NoPen;  // Qt::NoPen: no line
};

// How a marker is outlined: the width of its pen and of the white rim on
// either side of it, in device pixels (0: no rim).
struct MarkerPen {
  double width = 1;
  double rim = 0;
  auto operator<=>(const MarkerPen&) const = default;
};

// What its role makes of a plotted object: the layer it is drawn in (the
// lower first), whether it is a specimen set (faded by the look's opacity,
// shrunk by its specimen scale), whether its points get landmark numbers and
// whether it is a mean (drawn larger, see markerpen). A chosen specimen is
// drawn on top like a mean, always numbered, and the specimen sets fade
// around it.
struct ObjectKind {
  int layer = 1;
  bool specimens = true;
  bool numbered = false;
  bool mean = false;
  bool chosen = false;
};

// The layer of the standardized specimens (see kindof).
inline constexpr int kStandardizedLayer = 2;

// A plotted object in drawing order, with what kindof made of it.
struct Drawn {
  const GraphicsObject* line;
  ObjectKind kind;
};

// One legend entry as drawn: the name (a view of the model's text) and the
// first object of that name.
struct LegendItem {
  std::string_view name;
  const GraphicsObject* first;
  ObjectKind kind;
};

// The font of the numbers on the axes and its metrics on the painter's device.
struct TextStyle {
  QFont font;
  QFontMetricsF metrics;
};

// The legend's text and size: the names as they fit, in columns when one
// column would run out of the area, and the box around them. When not all
// fit even so, the last place says how many are left out ("and 12 more").
struct LegendText {
  QFont font;
  double rowHeight = 0;
  double textWidth = 0;  // of the widest name
  size_t rows = 0;       // in a column
  size_t columns = 0;
  double columnWidth = 0;      // a sample, the name and the padding between
  std::vector<QString> names;  // the entries shown, column by column
  QString more;                // "and 12 more"; empty when every entry is shown
  QSizeF size;                 // of the box; empty: no legend
};

// Room kept in the area, in device pixels, for a legend above or beside the plot.
struct LegendRoom {
  double top = 0;
  double right = 0;
};

// ---- axesstyle.cpp

// The style of a plotted object as Qt draws it, from the style the model
// parsed once when it was plotted.
PlotStyle drawstyle(const GraphicsObject& line);

// Draws marker `kind` about `size` pixels across centred on `centre` with the
// painter's pen (the dot is filled with the pen's colour).
void drawmarker(QPainter& painter, const QPointF& centre, char kind, double size);

// The pen of a marker: a mean's is thicker, on a white rim.
MarkerPen markerpen(bool mean, double scale);

// Draws a marker: its rim (in white, wider) first, then its outline.
void drawmarkerwith(QPainter& painter, const QPointF& centre, const PlotStyle& style, double size,
                    const MarkerPen& pen);

// The size a marker of `line` is drawn at, in device pixels.
double drawnsize(const GraphicsObject& line, const ObjectKind& kind, const PlotLook& shown,
                 double scale);

// ---- objectkind.cpp

// The plotted objects (lines) of an axes, in model order.
std::vector<const GraphicsObject*> plottedobjects(const Graphics& graphics, Handle axes);

// What its role makes of a plotted object; one without a role is drawn
// as specimens when it has no legend name, as other data when it has one.
ObjectKind kindof(PlotRole role, bool named);

// The plotted objects in drawing order: by layer, in model order within a layer.
std::vector<Drawn> drawingorder(const std::vector<const GraphicsObject*>& lines);

size_t pointcount(const std::vector<const GraphicsObject*>& lines);
bool anyzdata(const std::vector<const GraphicsObject*>& lines);

// ---- axesmargins.cpp

// The limits of the data, with a range of at least something on every axis:
// one pass over every point, made once for all the layouts tried.
struct DataLimits {
  bool is3d = false;
  Eigen::Vector3d lower = Eigen::Vector3d::Zero();
  Eigen::Vector3d upper = Eigen::Vector3d::Ones();
};
DataLimits datalimitsof(const std::vector<const GraphicsObject*>& lines);

// The data-to-device map of a plot of data within `data` in `area`, with
// room kept for the title, the axis titles and a legend outside the plot.
AxesLayout layoutfor(const QRectF& area, const DataLimits& data, const ObjectDetails& axes,
                     const ViewAngles& view, double scale, const LegendRoom& legend = {});

// ---- axesticks.cpp

// The font of the numbers, scaled with the device, set on the painter; none
// when the picture goes without text.
std::optional<TextStyle> usetextstyle(QPainter& painter, double scale, bool text);
// The size a label takes; without text, an estimate that keeps the ticks apart.
QSizeF labelsize(const std::optional<TextStyle>& style, const QString& label);
// Whether there are fonts to draw text with (a QGuiApplication).
bool cantext();
QString ticklabel(double value, double step);
// Half the extent of a w x h text box along unit direction n.
double halfextent(const QPointF& n, double width, double height);
void drawcentredtext(QPainter& painter, const QPointF& centre, const QString& text,
                     const QFontMetricsF& metrics);
QFont sizedfont(const QPainter& painter, double pixels, bool bold = false);
QString qtext(std::string_view text);
// The title centred over `centreX`, in the room kept for it at the top of the area.
// The font of a title `width` pixels may hold: bold, kTitlePixels times
// `scale`, or smaller (down to 0.6 of that) so that a long title fits whole.
QFont titlefont(const QPainter& painter, const std::string& title, double width, double scale);
void drawtitle(QPainter& painter, const QRectF& area, double centreX, const std::string& title,
               double scale);

// Ticks for an axis `pixels` long whose labels must not collide: each label
// takes `room(label)` pixels along the axis.
template <typename Room>
std::vector<double> fittingticks(double lower, double upper, double pixels, int most, Room room) {
  std::vector<double> ticks;
  for (int wanted = most; wanted >= 2; --wanted) {
    ticks = niceticks(lower, upper, wanted);
    if (ticks.size() < 2) return ticks;
    const double step = ticks[1] - ticks[0];
    const double spacing = pixels * step / (upper - lower);
    double needed = 0;
    for (double t : ticks) needed = std::max(needed, room(ticklabel(t, step)));
    if (needed <= spacing) return ticks;
  }
  return ticks;
}

// ---- axesframe2d.cpp

void drawframe2d(QPainter& painter, const AxesLayout& layout, bool text);
// A flat plot's axis titles, below and left of its numbers.
void drawaxistitles(QPainter& painter, const QRectF& area, const AxesLayout& layout,
                    const ObjectDetails& axes);

// ---- axesframe3d.cpp

void drawframe3d(QPainter& painter, const AxesLayout& layout, const ViewBasis& basis, bool text);

// ---- axeslegend.cpp

// One item per distinct name, in drawing order; unnamed objects are left out.
std::vector<LegendItem> legenditems(const std::vector<Drawn>& order);
// The names as they fit in `area` and the size of the legend's box; `device`
// may be null (metrics of the screen).
LegendText legendtext(const std::vector<LegendItem>& items, const QRectF& area, double titleRoom,
                      double scale, const QPaintDevice* device);
// The layout with the legend's place in legendBox.
AxesLayout placedlayout(const QRectF& area, const std::vector<const GraphicsObject*>& lines,
                        const std::vector<Drawn>& order, const ObjectDetails& axes,
                        const ViewAngles& view, double scale, const PlotLook& shown,
                        const QSizeF& legend);
void drawlegend(QPainter& painter, const QRectF& box, const LegendText& legend,
                const std::vector<LegendItem>& items, double scale);

// ---- renderaxes.cpp

// Where a point may stand to be drawn: inside the 2D box, or inside the area in 3D.
QRectF pointregion(const AxesLayout& layout, const QRectF& area);
// Cuts segment a-b to `rect`; false when nothing of it is inside.
bool clipsegment(const QRectF& rect, QPointF& a, QPointF& b, bool& cutStart, bool& cutEnd);

// ---- axesraster.cpp

// A marker painted once, kept as the list of its non-transparent pixels.
struct Sprite {
  struct Dot {
    int dx, dy;
    std::uint32_t argb;     // premultiplied
    std::ptrdiff_t offset;  // dy * stride + dx in the target image
  };
  std::vector<Dot> dots;  // the opaque ones first: those need no blending
  size_t opaque = 0;
  int reach = 0;  // no dot lies farther than this from the centre on either axis
};

// Per pixel of the area, the run of objects that last stamped there; kept
// between calls so that a picture of the same size needs no new buffer.
struct StampMarks {
  std::vector<std::uint32_t> run;
  std::uint32_t last = 0;
};

// Stamps markers straight into an ARGB32 premultiplied image.
class Stamper {
 public:
  Stamper(QImage& image, const QRect& clip, const QRectF& region, size_t objects);

  // Starts a new run of objects: points stamped before no longer count as
  // already there.
  void newrun() { ++marks_.last; }

  // The marker of that look, painted once per picture. `alpha` (0 to 255)
  // fades the whole marker, as a painter's opacity would.
  const Sprite& sprite(const PlotStyle& style, double size, const MarkerPen& pen, int alpha);

  void stamp(const AxesLayout& layout, const GraphicsObject& line, const Sprite& sprite);

 private:
  std::uint32_t* bits_;
  std::ptrdiff_t stride_;
  QRect clip_;
  StampMarks& marks_;
  double left_ = 0, top_ = 0, right_ = 0, bottom_ = 0;
  std::map<std::tuple<QRgb, char, double, MarkerPen, int>, Sprite> sprites_;
};

// The image the painter draws on, when markers may be stamped into it.
QImage* stampableimage(const QPainter& painter);

}  // namespace tarvolin::axesdrawing
