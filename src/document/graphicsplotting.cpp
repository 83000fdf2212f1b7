#include "document/graphics.h"
#include "document/graphicsdetail.h"

// Plotting into the current axes: the plotted objects, their names and
// styles, each kept once.

namespace tarvolin {

using graphicsdetail::sameName;

const ObjectDetails GraphicsObject::kNoDetails{};

GraphicsObject GraphicsObject::copyOf(const GraphicsObject& other) {
  GraphicsObject copy;
  copy.handle = other.handle;
  copy.serial = other.serial;
  copy.type = other.type;
  copy.parent = other.parent;
  copy.children = other.children;
  copy.tag = other.tag;
  copy.xdata = other.xdata;
  copy.ydata = other.ydata;
  copy.zdata = other.zdata;
  copy.lineStyle = other.lineStyle;
  copy.style = other.style;
  copy.markerSize = other.markerSize;
  copy.displayName = other.displayName;
  copy.role = other.role;
  if (other.details_) copy.details_ = std::make_unique<ObjectDetails>(*other.details_);
  return copy;
}

Handle Graphics::addLine(GraphicsObject&& line) {
  const Eigen::Index n = line.xdata.size();
  if (line.ydata.size() != n || (line.zdata.size() != 0 && line.zdata.size() != n)) {
    throw GraphicsError("the coordinates of a plot must have the same number of points");
  }
  const Handle target = gca();
  if (!object(target).details().hold) clearObject(target);
  line.handle = Handle(nextHandle_++);
  line.type = ObjectType::line;
  line.parent = target;
  return add(std::move(line));
}

Handle Graphics::plot(PlotData x, PlotData y, std::string_view style, double markerSize,
                      std::string_view name, PlotRole role) {
  GraphicsObject line;
  line.displayName = keptName(name);
  line.role = role;
  line.xdata = std::move(x);
  line.ydata = std::move(y);
  const auto& [text, parsed] = keptStyle(style);
  line.lineStyle = text;
  line.style = parsed;
  line.markerSize = markerSize;
  return addLine(std::move(line));
}

Handle Graphics::plot3(PlotData x, PlotData y, PlotData z, std::string_view style,
                       std::string_view name, PlotRole role) {
  GraphicsObject line;
  line.displayName = keptName(name);
  line.role = role;
  line.xdata = std::move(x);
  line.ydata = std::move(y);
  line.zdata = std::move(z);
  const auto& [text, parsed] = keptStyle(style);
  line.lineStyle = text;
  line.style = parsed;
  if (line.zdata.size() == 0 && line.xdata.size() > 0) {
    throw GraphicsError("a 3D plot needs Z values for its points");
  }
  return addLine(std::move(line));
}

void Graphics::hold(bool on) {
  const Handle a = gca();
  mutableObject(a).details().hold = on;
  notify(GraphicsChange::Kind::property, a, "Hold");
}

void Graphics::axis(std::string_view mode) {
  const Handle a = gca();
  if (sameName(mode, "auto")) {
    // Limits follow the data whatever the mode; nothing else to change.
  } else if (sameName(mode, "equal")) {
    mutableObject(a).details().axisEqual = true;
  } else {
    throw GraphicsError("axis: unknown mode \"" + std::string(mode) + "\"");
  }
  notify(GraphicsChange::Kind::property, a, "DataAspectRatioMode");
}

std::string_view Graphics::keptName(std::string_view name) {
  if (name.empty()) return {};
  if (name == lastName_) return lastName_;
  auto kept = displayNames_.find(name);
  if (kept == displayNames_.end()) kept = displayNames_.emplace(name).first;
  return lastName_ = *kept;
}

const std::pair<const std::string, PlotStyle>& Graphics::keptStyle(std::string_view style) {
  if (lastStyle_ != nullptr && style == lastStyle_->first) return *lastStyle_;
  auto kept = lineStyles_.find(style);
  if (kept == lineStyles_.end()) {
    ParsedPlotStyle parsed = parseplotstyle(style);
    if (!parsed.style) throw GraphicsError(std::move(parsed.problem));
    kept = lineStyles_.emplace(std::string(style), *parsed.style).first;
  }
  lastStyle_ = &*kept;
  return *kept;
}

}  // namespace tarvolin
