#include "document/movegui.h"

#include <Eigen/Core>
#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "core/console.h"

namespace tarvolin {
namespace {

constexpr std::array<std::string_view, 10> kPositions{
    "north",     "south",     "east",      "west",   "northeast",
    "southeast", "northwest", "southwest", "center", "onscreen"};

// Where to move the window: a named place or an outer corner in pixels.
using Placement = std::variant<std::string, Eigen::Vector2d>;

Eigen::Vector4d asRect(const PropertyValue& value) {
  const Eigen::MatrixXd& m = std::get<Eigen::MatrixXd>(value);
  return Eigen::Vector4d(m(0), m(1), m(2), m(3));
}

// True when `arg` is a single number naming an existing object.
bool isHandle(const Graphics& graphics, const Value& arg) {
  return arg.isScalar() && graphics.isValid(Handle(arg.scalar()));
}

}  // namespace

void movegui(Graphics& graphics, std::span<const Value> args) {
  if (args.size() > 3) throw GraphicsError("Too many input arguments.");

  std::optional<Handle> window;
  std::optional<Placement> placement;
  for (size_t i = 0; i < args.size(); ++i) {
    const Value& arg = args[i];
    if (isHandle(graphics, arg)) {
      window = graphics.parentFigure(Handle(arg.scalar()));
      if (!window) throw GraphicsError("handle of figure or descendant required");
    } else if (arg.isText()) {
      if (std::find(kPositions.begin(), kPositions.end(), arg.text()) == kPositions.end()) {
        throw GraphicsError("unrecognized position");
      }
      placement = arg.text();
    } else if (arg.isNumeric() && arg.numel() == 2) {
      placement = Eigen::Vector2d(arg.matrix()(0), arg.matrix()(1));
    } else if (graphics.gcbo() && i == 1) {
      // A second argument of no known kind is ignored inside a callback.
    } else {
      throw GraphicsError("unrecognized input argument");
    }
  }

  if (!window) window = graphics.gcbf();
  if (!window) window = graphics.gcf();
  if (!placement) placement = std::string("onscreen");
  const Handle fig = *window;

  const std::string savedActive = graphics.getString(fig, "ActivePositionProperty");
  const std::string savedUnits = graphics.getString(fig, "Units");
  graphics.setUnits(fig, "pixels");
  const Eigen::Vector4d inpos = asRect(graphics.get(fig, "Position"));
  const Eigen::Vector4d oldpos = asRect(graphics.get(fig, "OuterPosition"));

  const std::string savedRootUnits = graphics.getString(kRoot, "Units");
  graphics.setUnits(kRoot, "pixels");
  const Eigen::Vector4d screen = asRect(graphics.get(kRoot, "ScreenSize"));
  graphics.setUnits(kRoot, savedRootUnits);
  const double swidth = screen(2);
  const double sheight = screen(3);

  double fwidth = std::min(oldpos(2), swidth);
  double fheight = std::min(oldpos(3), sheight);
  const double right = swidth - fwidth;  // the corner's largest x on the screen
  const double top = sheight - fheight;  // and its largest y

  Eigen::Vector2d corner;
  if (const auto* pixels = std::get_if<Eigen::Vector2d>(&*placement)) {
    corner = *pixels;
    if (corner.x() < 0) corner.x() = right + corner.x();
    if (corner.y() < 0) corner.y() = top + corner.y();
  } else {
    const std::string& name = std::get<std::string>(*placement);
    if (name == "north") {
      corner = {right / 2, top};
      console().echo("newpos", Eigen::MatrixXd(corner.transpose()));
    } else if (name == "south") {
      corner = {right / 2, 0};
    } else if (name == "east") {
      corner = {right, top / 2};
    } else if (name == "west") {
      corner = {0, top / 2};
    } else if (name == "northeast") {
      corner = {right, top};
    } else if (name == "southeast") {
      corner = {right, 0};
    } else if (name == "northwest") {
      corner = {0, top};
    } else if (name == "southwest") {
      corner = {0, 0};
    } else if (name == "center") {
      corner = {right / 2, top / 2};
    } else {  // onscreen
      corner = {std::min(std::max(oldpos(0), 0.0), right), std::min(std::max(oldpos(1), 0.0), top)};
    }
  }

  // A drawing area larger than the outer frame in both directions means the
  // frame was not counted: allow for it.
  if (inpos(2) > oldpos(2) && inpos(3) > oldpos(3)) {
    fwidth += 6;
    fheight += 24;
  }

  graphics.setOuterPosition(fig, Eigen::Vector4d(corner.x(), corner.y(), fwidth, fheight));
  graphics.setUnits(fig, savedUnits);
  graphics.setActivePositionProperty(fig, savedActive);
}

}  // namespace tarvolin
