#include "plotting/showshapechange.h"

#include <cmath>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/errors.h"
#include "core/sprintf.h"
#include "document/legendnames.h"
#include "document/misfittingwire.h"
#include "numerics/tpswarp2d.h"

namespace tarvolin {
namespace {

using Eigen::Index;

constexpr double kGap = std::numeric_limits<double>::quiet_NaN();
constexpr double kChangeMarkerSize = 6;

void checkchange(const Eigen::MatrixXd& mean, std::span<const ShapeTarget> targets,
                 const Eigen::MatrixXd& wirelist, double magnification) {
  if (!(magnification >= 1 && magnification <= 10)) {
    throw InputError(sprintf("the magnification is a number from 1 to 10, not %g", magnification))
        .concerning(Input::option);
  }
  if (mean.cols() != 2 && mean.cols() != 3) {
    throw InputError(
        sprintf("a shape change is drawn for landmarks of 2 or 3 coordinates, not %i", mean.cols()))
        .concerning(Input::data);
  }
  if (mean.rows() < 1) {
    throw InputError("the mean shape has no landmark").concerning(Input::data);
  }
  if (!mean.allFinite()) {
    throw InputError("the mean shape holds a coordinate that is not a number")
        .concerning(Input::data);
  }
  for (const ShapeTarget& target : targets) {
    if (target.shape.rows() != mean.rows() || target.shape.cols() != mean.cols()) {
      throw InputError(sprintf("the shape \"%s\" is %i x %i, the mean shape %i x %i",
                               target.name.c_str(), target.shape.rows(), target.shape.cols(),
                               mean.rows(), mean.cols()))
          .concerning(Input::data);
    }
    if (!target.shape.allFinite()) {
      throw InputError(
          sprintf("the shape \"%s\" holds a coordinate that is not a number", target.name.c_str()))
          .concerning(Input::data);
    }
    if (target.colour.size() != 1 ||
        std::string_view("bgrcmykw").find(target.colour[0]) == std::string_view::npos) {
      throw std::invalid_argument("showshapechange: \"" + target.colour +
                                  "\" is not a colour letter");
    }
  }
  if (wirelist.rows() > 0 && wirelist.cols() < 3) {
    throw InputError(
        sprintf("wire 1 has %i numbers; a wire is its number and the two landmarks it joins",
                wirelist.cols()))
        .concerning(Input::wireframe);
  }
  if (const std::optional<MisfittingWire> misfit = misfittingwire(wirelist, mean.rows())) {
    throw InputError(sprintf("wire %i joins landmark %g, but the shape has landmarks 1 to %i",
                             misfit->row + 1, misfit->landmark, mean.rows()))
        .concerning(Input::wireframe);
  }
}

// Points along each axis of a polyline, broken where a gap stands.
struct Polyline {
  std::vector<double> axis[3];
  void add(const Eigen::Ref<const Eigen::RowVectorXd>& point) {
    for (Index c = 0; c < point.size(); ++c) axis[c].push_back(point(c));
  }
  void gap(Index dims) {
    for (Index c = 0; c < dims; ++c) axis[c].push_back(kGap);
  }
};

Eigen::Map<const Eigen::RowVectorXd> row(const std::vector<double>& values) {
  return {values.data(), static_cast<Index>(values.size())};
}

void draw(Graphics& graphics, const Polyline& line, Index dims, const std::string& style,
          std::string_view name, PlotRole role) {
  if (line.axis[0].empty()) return;
  if (dims == 3) {
    graphics.plot3(row(line.axis[0]), row(line.axis[1]), row(line.axis[2]), style, name, role);
  } else {
    graphics.plot(row(line.axis[0]), row(line.axis[1]), style, kChangeMarkerSize, name, role);
  }
}

void drawpoints(Graphics& graphics, const Eigen::MatrixXd& shape, const std::string& style,
                std::string_view name, PlotRole role) {
  const Eigen::RowVectorXd x = shape.col(0).transpose(), y = shape.col(1).transpose();
  if (shape.cols() == 3) {
    graphics.plot3(x, y, shape.col(2).transpose(), style, name, role);
  } else {
    graphics.plot(x, y, style, kChangeMarkerSize, name, role);
  }
}

Polyline wires(const Eigen::MatrixXd& shape, const Eigen::MatrixXd& wirelist) {
  Polyline line;
  for (Index i = 0; i < wirelist.rows(); ++i) {
    line.add(shape.row(static_cast<Index>(wirelist(i, 1)) - 1));
    line.add(shape.row(static_cast<Index>(wirelist(i, 2)) - 1));
    line.gap(shape.cols());
  }
  return line;
}

Polyline lollipops(const Eigen::MatrixXd& mean, const Eigen::MatrixXd& target) {
  Polyline line;
  for (Index j = 0; j < mean.rows(); ++j) {
    line.add(mean.row(j));
    line.add(target.row(j));
    line.gap(mean.cols());
  }
  return line;
}

// kChangeGridLines lines each way over the mean's extent and a margin of
// kChangeGridMargin of its larger side, every line through kChangeGridSteps
// points, taken by the spline. Where the spline throws a point farther than
// kChangeGridReach of the shapes' larger side outside the box of the shapes
// drawn (`shapes`), the line breaks: the grid stays over the landmarks.
Polyline deformedgrid(const Eigen::MatrixXd& mean, const TpsWarp2D& warp,
                      const std::vector<Eigen::MatrixXd>& shapes) {
  const Eigen::RowVector2d low = mean.colwise().minCoeff(), high = mean.colwise().maxCoeff();
  const double margin = kChangeGridMargin * (high - low).maxCoeff();
  const Eigen::RowVector2d from = low.array() - margin, to = high.array() + margin;
  Eigen::RowVector2d lowest = low, highest = high;
  for (const Eigen::MatrixXd& shape : shapes) {
    lowest = lowest.cwiseMin(shape.colwise().minCoeff());
    highest = highest.cwiseMax(shape.colwise().maxCoeff());
  }
  const double reach = kChangeGridReach * (highest - lowest).maxCoeff();
  lowest.array() -= reach;
  highest.array() += reach;
  const Index perline = kChangeGridSteps;
  Eigen::MatrixX2d points(2 * kChangeGridLines * perline, 2);
  Index at = 0;
  for (int direction = 0; direction < 2; ++direction) {
    const int across = 1 - direction;  // the coordinate that is fixed along a line
    for (int l = 0; l < kChangeGridLines; ++l) {
      const double fixed = from(across) + (to(across) - from(across)) * l / (kChangeGridLines - 1);
      for (Index s = 0; s < perline; ++s) {
        points(at, across) = fixed;
        points(at, direction) = from(direction) + (to(direction) - from(direction)) *
                                                      static_cast<double>(s) /
                                                      static_cast<double>(perline - 1);
        ++at;
      }
    }
  }
  const Eigen::MatrixX2d moved = warp.apply(points);
  Polyline line;
  for (Index p = 0; p < moved.rows(); ++p) {
    const bool inside = (moved.row(p).array() >= lowest.array()).all() &&
                        (moved.row(p).array() <= highest.array()).all();
    if (inside) {
      line.add(moved.row(p));
    } else {
      line.gap(2);
    }
    if ((p + 1) % perline == 0) line.gap(2);
  }
  return line;
}

// What the status line says of a grid near landmarks nearly at one place.
std::string unstablewarning(const TpsWarp2D& warp) {
  if (warp.unstable.empty()) return {};
  std::string pairs;
  for (const auto& [i, j] : warp.unstable) {
    pairs += sprintf("%s%i and %i", pairs.empty() ? "" : ", ", i + 1, j + 1);
  }
  return "the grid is unstable where landmarks of the mean shape lie almost at one place (" +
         pairs + ")";
}

}  // namespace

std::string showshapechange(Graphics& graphics, const Eigen::MatrixXd& mean,
                            std::span<const ShapeTarget> targets, const Eigen::MatrixXd& wirelist,
                            double magnification, bool grid) {
  checkchange(mean, targets, wirelist, magnification);
  std::vector<Eigen::MatrixXd> exaggerated;
  for (const ShapeTarget& target : targets) {
    exaggerated.push_back(mean + magnification * (target.shape - mean));
  }
  // The spline is had before anything is drawn, so that a mean it cannot
  // start from leaves the axes as they were.
  std::optional<TpsWarp2D> warp;
  if (grid && mean.cols() == 2 && !exaggerated.empty()) {
    try {
      warp = tpswarp2d(mean, exaggerated.back());
    } catch (const TpsWarpError& e) {
      throw InputError("no deformation grid can be drawn from the mean shape: " + e.why())
          .concerning(Input::data);
    }
  }

  const Handle axes = graphics.gca();
  removeshapechange(graphics, axes);
  graphics.hold(true);
  const Index dims = mean.cols();
  if (warp) {
    draw(graphics, deformedgrid(mean, *warp, exaggerated), 2, "k-", kDeformationGrid,
         PlotRole::deformationGrid);
  }
  if (wirelist.rows() > 0) {
    draw(graphics, wires(mean, wirelist), dims, "k:", {}, PlotRole::warpedWireframe);
    for (size_t t = 0; t < targets.size(); ++t) {
      draw(graphics, wires(exaggerated[t], wirelist), dims, targets[t].colour + "-", {},
           PlotRole::warpedWireframe);
    }
  }
  for (size_t t = 0; t < targets.size(); ++t) {
    draw(graphics, lollipops(mean, exaggerated[t]), dims, targets[t].colour + "-", {},
         PlotRole::lollipops);
  }
  drawpoints(graphics, mean, "ko", kChangeMean, PlotRole::changeMean);
  for (size_t t = 0; t < targets.size(); ++t) {
    drawpoints(graphics, exaggerated[t], targets[t].colour + "o", targets[t].name,
               PlotRole::changeTarget);
  }
  graphics.axis("equal");
  return warp ? unstablewarning(*warp) : std::string();
}

void removeshapechange(Graphics& graphics, Handle axes) {
  for (const PlotRole role : {PlotRole::deformationGrid, PlotRole::warpedWireframe,
                              PlotRole::lollipops, PlotRole::changeMean, PlotRole::changeTarget}) {
    graphics.removePlotted(axes, role);
  }
}

}  // namespace tarvolin
