#pragma once
// Draws one axes of the graphics model with QPainter: the background, the
// box with its ticks and numbers, then every plotted object of the axes in
// drawing order, each with its style ("bo" blue circles, "k:" a dotted black
// line, ...).
//
// An axes whose plotted objects carry z data is drawn in 3D: the data are
// turned by the view's azimuth and elevation (degrees, as the plot window's
// drag sets them) and projected orthographically; otherwise it is a flat 2D
// plot. The limits follow the data ("auto"); with the axes' equal mode one
// data unit is as long on every axis. `zoom` magnifies about the centre of
// the data.
//
// On a QImage of format ARGB32_Premultiplied with no painter transform,
// clipping or opacity the point markers are stamped straight into the pixels
// (hundreds of thousands of points in a few tens of milliseconds); on any
// other device (a widget, SVG, PDF, printer) every marker is drawn as a
// vector shape, so a window draws into such an image and shows the image.
// Nothing is drawn outside `area`; the painter's state is left as it was.
// The numbers on the axes, the title and the legend need a QGuiApplication
// (without one they are left out).
//
// The plotted objects are drawn in layers by what their DisplayName calls
// them, in model order within a layer: the raw specimens ("specimens,
// superimposed") first, then unnamed and other objects, the standardized
// specimens, the wireframe, and the means on top, so that a cloud of
// thousands of specimens never hides the means. The means ("mean shape",
// "mean of standardized", ...) are drawn larger than their marker size, on
// a white rim, in their own colour and marker kind. The axes' Title stands
// centred above the plot. The legend, one entry per name with the marker or
// line of the first object of that name, never covers the data: a flat plot
// has it in the first corner no marker or line reaches (top right, top left,
// bottom right, bottom left), else it stands outside the plot, beside or
// above it, whichever leaves the data more room; a 3D plot, whose data move
// as it turns, always has it outside. axeslayout says where.
//
// A PlotLook changes how the plot is drawn, never the model: the size of the
// markers, the opacity of the specimen sets, the numbers of the landmarks of
// the means. Left as it is (not chosen), a plot of more than a few thousand
// points draws its specimens smaller and translucent.
//
// Example:
//   QImage image(800, 600, QImage::Format_ARGB32_Premultiplied);
//   QPainter painter(&image);
//   renderaxes(painter, image.rect(), graphics, axesHandle, ViewAngles{});
//   QPointF at = axeslayout(image.rect(), graphics, axesHandle, ViewAngles{}).map(x, y, z);
//   PlotLook look;
//   look.numberMeans = true;   // and the landmarks of the means numbered
//   renderaxes(painter, image.rect(), graphics, axesHandle, ViewAngles{}, 1, look);

#include <QPainter>
#include <QPointF>
#include <QRectF>
#include <cstddef>
#include <string>
#include <vector>

#include "document/graphics.h"

namespace tarvolin {

struct ViewAngles {
  double azimuth = -37.5;  // degrees about the vertical (z) axis
  double elevation = 30;   // degrees above the x-y plane
  double zoom = 1;         // 1: the data fill the area
};

// Whether axes `axes` holds 3D data (a plotted object with z data).
bool isaxes3d(const Graphics& graphics, Handle axes);

// How the plot is drawn: the view options of a plot window.
struct PlotLook {
  double markerScale = 1;    // times every marker size, 0.25 to 4
  double opacity = 1;        // of the specimen sets (and unnamed objects), 0.05 to 1
  bool numberMeans = false;  // the landmark numbers 1..k beside the points of the means
  // Times the marker size of the specimen sets only (the look for big data
  // shrinks them).
  double specimenScale = 1;
  // Set by the user: kept whatever the amount of data. A look not chosen is
  // the default, which effectivelook adapts to big data.
  bool chosen = false;
  bool operator==(const PlotLook&) const = default;
};

// Above this many points in an axes a look not chosen draws the specimen sets
// smaller and translucent.
constexpr size_t kManyPoints = 5000;

// The look drawn for `chosen` over axes of `points` points: the values kept
// to their ranges, and for a look not chosen over more than kManyPoints
// points, specimens at 0.6 of their size and at most 35 % opaque (renderaxes
// keeps the standardized specimens solid in that case: they are the result).
//   effectivelook(PlotLook{}, 12000)  -> specimenScale 0.6, opacity 0.35
//   effectivelook(PlotLook{}, 200)    -> PlotLook{}
PlotLook effectivelook(const PlotLook& chosen, size_t points);

// The number of points of every plotted object of an axes.
size_t plottedpoints(const Graphics& graphics, Handle axes);

// One entry of a legend: a name and how the first object of that name is drawn.
struct LegendEntry {
  std::string name;
  std::string lineStyle;  // "bo", "k:"
  double markerSize = 6;
  bool operator==(const LegendEntry&) const = default;
};

// The entries of the legend of an axes: one per distinct DisplayName, in
// drawing order; unnamed objects are left out.
std::vector<LegendEntry> legendentries(const Graphics& graphics, Handle axes);

// The legend of an axes as renderaxes draws it in `area`: the names as they
// fit, column by column, and last "and 12 more" when not every entry does;
// empty when there is no room for a legend.
std::vector<std::string> legendshown(const QRectF& area, const Graphics& graphics, Handle axes,
                                     double scale = 1);

// `scale` is the number of device pixels per pixel of the window: text,
// markers, ticks and margins grow with it, so that a picture drawn at twice
// the size (a doubled screen, a sharp bitmap) looks the same, only sharper.
void renderaxes(QPainter& painter, const QRectF& area, const Graphics& graphics, Handle axes,
                const ViewAngles& view, double scale = 1, const PlotLook& look = {});

// The directions of the screen in data space for a view: `right` and `up`
// span the picture, `towardViewer` points out of it. Azimuth 0 and elevation
// 0 look along +y (x to the right, z up); elevation 90 looks straight down
// (x to the right, y up).
struct ViewBasis {
  Eigen::Vector3d right, up, towardViewer;
};
ViewBasis viewbasis(double azimuth, double elevation);

// Round tick values inside [lower, upper]: steps of 1, 2 or 5 times a power
// of ten, as close to `wanted` ticks as those steps allow.
std::vector<double> niceticks(double lower, double upper, int wanted);

// Where renderaxes puts the data of an axes inside `area`: the limits it
// shows and the map from data to device coordinates (device y grows
// downwards). For hit tests and tests of the picture.
struct AxesLayout {
  bool is3d = false;
  Eigen::Vector3d lower = Eigen::Vector3d::Zero();  // limits shown, x y z
  Eigen::Vector3d upper = Eigen::Vector3d::Ones();
  Eigen::Matrix<double, 2, 3> toDevice = Eigen::Matrix<double, 2, 3>::Zero();
  Eigen::Vector2d offset = Eigen::Vector2d::Zero();
  QRectF plotBox;    // 2D: the box around the data; 3D: the whole area
  double scale = 1;  // device pixels per pixel of the window (2 on a doubled screen)
  QRectF legendBox;  // where the legend stands, clear of the data; empty without one

  QPointF map(double x, double y, double z = 0) const {
    const Eigen::Vector2d p = toDevice * Eigen::Vector3d(x, y, z) + offset;
    return {p.x(), p.y()};
  }
};
AxesLayout axeslayout(const QRectF& area, const Graphics& graphics, Handle axes,
                      const ViewAngles& view, double scale = 1, const PlotLook& look = {});

}  // namespace tarvolin
