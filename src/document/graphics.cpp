#include "document/graphics.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>

#include "core/sprintf.h"

namespace tarvolin {

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
namespace {

bool sameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

std::string handleText(Handle h) { return sprintf("%.10g", h.value()); }

// The room a control's text takes without a window layer to measure it:
// generous, so that a layout made from it keeps every line in view.
Eigen::Vector2d estimatedextent(const ObjectDetails& control) {
  constexpr double kCharacter = 8, kLine = 17, kMargins = 8;
  const double room = std::max(kCharacter, control.position(2) - kMargins);
  double lines = 0;
  std::string_view rest = control.string;
  while (true) {
    const size_t end = rest.find('\n');
    const double characters = static_cast<double>(rest.substr(0, end).size());
    lines += std::max(1.0, std::ceil(characters * kCharacter / room));
    if (end == std::string_view::npos) break;
    rest.remove_prefix(end + 1);
  }
  return {control.position(2), lines * kLine + kMargins};
}

const char* typeName(ObjectType type) {
  switch (type) {
    case ObjectType::root:
      return "root";
    case ObjectType::figure:
      return "figure";
    case ObjectType::axes:
      return "axes";
    case ObjectType::uicontrol:
      return "uicontrol";
    default:
      return "line";
  }
}

const char* styleName(ControlStyle style) {
  switch (style) {
    case ControlStyle::pushbutton:
      return "pushbutton";
    case ControlStyle::radiobutton:
      return "radiobutton";
    case ControlStyle::checkbox:
      return "checkbox";
    case ControlStyle::edit:
      return "edit";
    default:
      return "text";
  }
}

const std::string& asText(const PropertyValue& value, std::string_view name) {
  if (const std::string* text = std::get_if<std::string>(&value)) return *text;
  throw GraphicsError("the property " + std::string(name) + " takes a text");
}

double asNumber(const PropertyValue& value, std::string_view name) {
  if (const double* number = std::get_if<double>(&value)) return *number;
  if (const Eigen::MatrixXd* m = std::get_if<Eigen::MatrixXd>(&value); m && m->size() == 1) {
    return (*m)(0, 0);
  }
  throw GraphicsError("the property " + std::string(name) + " takes a number");
}

Eigen::MatrixXd asMatrix(const PropertyValue& value, std::string_view name) {
  if (const Eigen::MatrixXd* m = std::get_if<Eigen::MatrixXd>(&value)) return *m;
  if (const double* number = std::get_if<double>(&value))
    return Eigen::MatrixXd::Constant(1, 1, *number);
  throw GraphicsError("the property " + std::string(name) + " takes numbers");
}

Eigen::RowVectorXd asRow(const PropertyValue& value, std::string_view name) {
  const Eigen::MatrixXd m = asMatrix(value, name);
  return Eigen::Map<const Eigen::RowVectorXd>(m.data(), m.size());
}

Eigen::Vector4d asRectangle(const PropertyValue& value, std::string_view name) {
  const Eigen::RowVectorXd p = asRow(value, name);
  if (p.size() != 4) {
    throw GraphicsError(std::string(name) + " takes four numbers: left, bottom, width, height");
  }
  return p.transpose();
}

Eigen::MatrixXd handleList(const std::vector<Handle>& handles) {
  Eigen::MatrixXd list(static_cast<Eigen::Index>(handles.size()), 1);
  for (size_t i = 0; i < handles.size(); ++i)
    list(static_cast<Eigen::Index>(i), 0) = handles[i].value();
  return list;
}

}  // namespace

Graphics::Graphics() {
  GraphicsObject root;
  root.handle = kRoot;
  root.type = ObjectType::root;
  root.details().position = Eigen::Vector4d(1, 1, 1920, 1080);
  objects_.insert(std::move(root));
}

void Graphics::setScreenSize(double width, double height) {
  mutableObject(kRoot).details().position = Eigen::Vector4d(1, 1, width, height);
  notify(GraphicsChange::Kind::property, kRoot, "ScreenSize");
}

void Graphics::setWindowGeometry(Handle h, const Eigen::Vector4d& position,
                                 const Eigen::Vector4d& outerPosition) {
  GraphicsObject& window = mutableObject(h);
  if (window.type != ObjectType::figure) {
    throw GraphicsError("setWindowGeometry: " + handleText(h) + " is not a window");
  }
  window.details().position = position;
  window.details().outerPosition = outerPosition;
  notify(GraphicsChange::Kind::property, h, "Position");
  notify(GraphicsChange::Kind::property, h, "OuterPosition");
}

void Graphics::setExtent(Handle h, double width, double height) {
  GraphicsObject& control = mutableObject(h);
  if (control.type != ObjectType::uicontrol) {
    throw GraphicsError("setExtent: " + handleText(h) + " is not a control");
  }
  control.details().extent = Eigen::Vector2d(width, height);
}

bool Graphics::isValid(Handle h) const { return objects_.contains(h); }

ObjectId Graphics::id(Handle h) const { return {h, object(h).serial}; }

bool Graphics::exists(const ObjectId& id) const {
  const GraphicsObject* found = objects_.find(id.handle);
  return found != nullptr && found->serial == id.serial;
}

const GraphicsObject& Graphics::object(Handle h) const {
  auto* found = objects_.find(h);
  if (found == nullptr) throw GraphicsError("invalid handle " + handleText(h));
  return *found;
}

GraphicsObject& Graphics::mutableObject(Handle h) {
  auto* found = objects_.find(h);
  if (found == nullptr) throw GraphicsError("invalid handle " + handleText(h));
  return *found;
}

std::vector<Handle> Graphics::descendants(Handle h, ObjectType type) const {
  // Depth first in order of creation: the children wait on the stack last
  // first, so that the first child comes off next.
  std::vector<Handle> found;
  std::vector<Handle> pending{h};
  while (!pending.empty()) {
    const Handle next = pending.back();
    pending.pop_back();
    const GraphicsObject& o = object(next);
    if (o.type == type) found.push_back(next);
    pending.insert(pending.end(), o.children.rbegin(), o.children.rend());
  }
  return found;
}

Handle Graphics::add(GraphicsObject&& object) {
  const Handle h = object.handle;
  object.serial = nextSerial_++;
  mutableObject(object.parent).children.push_back(h);
  if (!object.tag.empty()) indexTag(h, object.tag);
  objects_.insert(std::move(object));
  notify(GraphicsChange::Kind::created, h, {});
  return h;
}

void Graphics::remove(Handle h) {
  GraphicsObject& o = mutableObject(h);
  // Children first, last made first, so that listeners see a tree that stays
  // whole. Plotted objects, which have no children of their own, go here
  // without looking their parent up again (a 2D plot has a million).
  while (!o.children.empty()) {
    const Handle child = o.children.back();
    GraphicsObject& c = mutableObject(child);
    if (c.type != ObjectType::line || !c.children.empty()) {
      remove(child);
      continue;
    }
    o.children.pop_back();
    if (!c.tag.empty()) unindexTag(child, c.tag);
    objects_.erase(child);
    notify(GraphicsChange::Kind::deleted, child, {});
  }
  if (o.type == ObjectType::figure) {
    figureOrder_.erase(std::remove(figureOrder_.begin(), figureOrder_.end(), h),
                       figureOrder_.end());
    if (currentFigure_ == h) {
      currentFigure_ =
          figureOrder_.empty() ? std::nullopt : std::optional<Handle>(figureOrder_.back());
    }
  }
  if (o.type == ObjectType::axes) {
    GraphicsObject& window = mutableObject(o.parent);
    if (window.details().currentAxes == h) {
      const std::vector<Handle> others = [&] {
        std::vector<Handle> list;
        for (Handle c : window.children) {
          if (c != h && object(c).type == ObjectType::axes) list.push_back(c);
        }
        return list;
      }();
      window.details().currentAxes =
          others.empty() ? std::nullopt : std::optional<Handle>(others.back());
    }
  }
  // Children go last first, so the one to drop is usually at the end.
  std::vector<Handle>& siblings = mutableObject(o.parent).children;
  if (!siblings.empty() && siblings.back() == h) {
    siblings.pop_back();
  } else {
    siblings.erase(std::remove(siblings.begin(), siblings.end(), h), siblings.end());
  }
  if (!o.tag.empty()) unindexTag(h, o.tag);
  objects_.erase(h);
  notify(GraphicsChange::Kind::deleted, h, {});
}

Handle Graphics::figure() {
  Handle h(1);
  while (isValid(h)) h = Handle(h.value() + 1);
  GraphicsObject window;
  window.handle = h;
  window.type = ObjectType::figure;
  window.parent = kRoot;
  window.details().position = Eigen::Vector4d(100, 100, 560, 420);
  window.details().outerPosition = window.details().position;
  window.details().name = "Figure " + handleText(h);
  figureOrder_.push_back(h);
  add(std::move(window));
  currentFigure_ = h;
  notify(GraphicsChange::Kind::property, kRoot, "CurrentFigure");
  return h;
}

void Graphics::figure(Handle h) {
  if (!isValid(h) || object(h).type != ObjectType::figure) {
    throw GraphicsError("figure: " + handleText(h) + " is not an open window");
  }
  // The window made current moves to the front.
  figureOrder_.erase(std::remove(figureOrder_.begin(), figureOrder_.end(), h), figureOrder_.end());
  figureOrder_.push_back(h);
  currentFigure_ = h;
  notify(GraphicsChange::Kind::property, kRoot, "CurrentFigure");
}

Handle Graphics::gcf() {
  if (!currentFigure_) return figure();
  return *currentFigure_;
}

Handle Graphics::gca() {
  const Handle window = gcf();
  const GraphicsObject& w = object(window);
  if (w.details().currentAxes) return *w.details().currentAxes;
  return axes(window);
}

Handle Graphics::axes(Handle window) {
  if (object(window).type != ObjectType::figure) {
    throw GraphicsError("axes: " + handleText(window) + " is not a window");
  }
  GraphicsObject a;
  a.handle = Handle(nextHandle_++);
  a.type = ObjectType::axes;
  a.parent = window;
  const Handle h = add(std::move(a));
  mutableObject(window).details().currentAxes = h;
  return h;
}

void Graphics::close(Handle h) {
  if (!isValid(h) || object(h).type != ObjectType::figure) {
    throw GraphicsError("close: " + handleText(h) + " is not an open window");
  }
  remove(h);
  notify(GraphicsChange::Kind::property, kRoot, "CurrentFigure");
}

void Graphics::clearObject(Handle h, std::span<const std::string> options) {
  bool reset = false;
  for (const std::string& option : options) {
    if (!sameName(option, "reset")) throw GraphicsError("clear: unknown option \"" + option + "\"");
    reset = true;
  }
  GraphicsObject& o = mutableObject(h);
  while (!o.children.empty()) remove(o.children.back());
  if (reset && o.type == ObjectType::axes) {
    o.details().hold = false;
    o.details().axisEqual = false;
    notify(GraphicsChange::Kind::property, h, "Hold");
    notify(GraphicsChange::Kind::property, h, "DataAspectRatioMode");
  }
}

Handle Graphics::uicontrol(Handle window, const ControlSpec& described) {
  if (object(window).type != ObjectType::figure) {
    throw GraphicsError("uicontrol: " + handleText(window) + " is not a window");
  }
  GraphicsObject c;
  c.handle = Handle(nextHandle_++);
  c.type = ObjectType::uicontrol;
  c.parent = window;
  c.details().style = described.style;
  c.tag = described.tag;
  c.details().string = described.string;
  c.details().value = described.value;
  c.details().enable = described.enable;
  c.details().callback = described.callback;
  c.details().position = described.position;
  c.details().tooltip = described.tooltip;
  c.details().group = described.group;
  return add(std::move(c));
}

std::vector<Handle> Graphics::findobj(std::string_view tag) const { return findobj(tag, kRoot); }

void Graphics::indexTag(Handle h, const std::string& tag) {
  if (!tag.empty()) tagged_[tag].push_back(h);
}

void Graphics::unindexTag(Handle h, const std::string& tag) {
  auto entry = tagged_.find(tag);
  if (entry == tagged_.end()) return;
  std::vector<Handle>& list = entry->second;
  list.erase(std::remove(list.begin(), list.end(), h), list.end());
  if (list.empty()) tagged_.erase(entry);
}

bool Graphics::isInside(Handle h, Handle within) const {
  for (;;) {
    if (h == within) return true;
    if (h == kRoot) return false;
    h = object(h).parent;
  }
}

std::vector<size_t> Graphics::treePlace(Handle h) const {
  std::vector<size_t> place;
  for (; h != kRoot; h = object(h).parent) {
    const std::vector<Handle>& siblings = object(object(h).parent).children;
    place.push_back(
        static_cast<size_t>(std::find(siblings.begin(), siblings.end(), h) - siblings.begin()));
  }
  std::reverse(place.begin(), place.end());
  return place;
}

std::vector<Handle> Graphics::findobj(std::string_view tag, Handle within) const {
  if (!tag.empty()) {
    object(within);  // an unknown handle is refused, as the walk below refuses it
    std::vector<Handle> found;
    if (auto entry = tagged_.find(tag); entry != tagged_.end()) {
      for (Handle h : entry->second) {
        if (isInside(h, within)) found.push_back(h);
      }
    }
    if (found.size() > 1) {
      std::vector<std::pair<std::vector<size_t>, Handle>> placed;
      for (Handle h : found) placed.emplace_back(treePlace(h), h);
      std::sort(placed.begin(), placed.end());
      for (size_t i = 0; i < placed.size(); ++i) found[i] = placed[i].second;
    }
    return found;
  }
  std::vector<Handle> found;
  std::vector<Handle> pending{within};
  while (!pending.empty()) {
    const Handle next = pending.back();
    pending.pop_back();
    const GraphicsObject& o = object(next);
    if (o.tag == tag) found.push_back(next);
    pending.insert(pending.end(), o.children.rbegin(), o.children.rend());
  }
  return found;
}

PropertyValue Graphics::get(Handle h, std::string_view name) const {
  const GraphicsObject& o = object(h);
  if (sameName(name, "Tag")) return o.tag;
  if (sameName(name, "Type")) return std::string(typeName(o.type));
  if (sameName(name, "Parent")) return o.parent.value();
  if (sameName(name, "Children")) return handleList(o.children);
  if (sameName(name, "Units")) return o.details().units;
  if (o.type == ObjectType::root) {
    if (sameName(name, "ScreenSize")) return Eigen::MatrixXd(o.details().position.transpose());
    if (sameName(name, "CurrentFigure")) {
      return currentFigure_ ? PropertyValue(currentFigure_->value())
                            : PropertyValue(Eigen::MatrixXd());
    }
  }
  if (o.type == ObjectType::figure || o.type == ObjectType::uicontrol ||
      o.type == ObjectType::axes) {
    if (sameName(name, "Position")) return Eigen::MatrixXd(o.details().position.transpose());
  }
  if (o.type == ObjectType::figure) {
    if (sameName(name, "Name")) return o.details().name;
    if (sameName(name, "OuterPosition"))
      return Eigen::MatrixXd(o.details().outerPosition.transpose());
    if (sameName(name, "ActivePositionProperty")) return o.details().activePositionProperty;
    if (sameName(name, "Visible")) return std::string(o.details().visible ? "on" : "off");
    if (sameName(name, "CurrentAxes")) {
      return o.details().currentAxes ? PropertyValue(o.details().currentAxes->value())
                                     : PropertyValue(Eigen::MatrixXd());
    }
  }
  if (o.type == ObjectType::uicontrol) {
    if (sameName(name, "String")) return o.details().string;
    if (sameName(name, "Value")) return o.details().value;
    if (sameName(name, "Enable")) return std::string(o.details().enable ? "on" : "off");
    if (sameName(name, "Callback")) return o.details().callback;
    if (sameName(name, "Style")) return std::string(styleName(o.details().style));
    if (sameName(name, "TooltipString")) return o.details().tooltip;
    if (sameName(name, "FontName")) return o.details().fontName;
    if (sameName(name, "Extent")) {
      const Eigen::Vector2d size = o.details().extent.value_or(estimatedextent(o.details()));
      return Eigen::MatrixXd{{0, 0, size.x(), size.y()}};
    }
  }
  if (o.type == ObjectType::axes) {
    if (sameName(name, "Hold")) return std::string(o.details().hold ? "on" : "off");
    if (sameName(name, "DataAspectRatioMode"))
      return std::string(o.details().axisEqual ? "manual" : "auto");
    if (sameName(name, "Title")) return o.details().title;
    if (sameName(name, "XLabel")) return o.details().xlabel;
    if (sameName(name, "YLabel")) return o.details().ylabel;
  }
  if (o.type == ObjectType::line) {
    if (sameName(name, "XData")) return Eigen::MatrixXd(o.xdata.map());
    if (sameName(name, "YData")) return Eigen::MatrixXd(o.ydata.map());
    if (sameName(name, "ZData")) return Eigen::MatrixXd(o.zdata.map());
    if (sameName(name, "LineStyle")) return std::string(o.lineStyle);
    if (sameName(name, "MarkerSize")) return o.markerSize;
    if (sameName(name, "DisplayName")) return std::string(o.displayName);
  }
  throw GraphicsError("a " + std::string(typeName(o.type)) + " has no property " +
                      std::string(name));
}

std::string Graphics::getString(Handle h, std::string_view name) const {
  return asText(get(h, name), name);
}

double Graphics::getNumber(Handle h, std::string_view name) const {
  return asNumber(get(h, name), name);
}

void Graphics::set(Handle h, std::string_view name, const PropertyValue& value) {
  GraphicsObject& o = mutableObject(h);
  std::string property;
  if (sameName(name, "Tag")) {
    return setTag(h, asText(value, name));
  } else if (sameName(name, "Units")) {
    return setUnits(h, asText(value, name));
  } else if ((o.type == ObjectType::figure || o.type == ObjectType::uicontrol ||
              o.type == ObjectType::axes) &&
             sameName(name, "Position")) {
    return setPosition(h, asRectangle(value, name));
  } else if (o.type == ObjectType::figure && sameName(name, "OuterPosition")) {
    return setOuterPosition(h, asRectangle(value, name));
  } else if (o.type == ObjectType::figure && sameName(name, "ActivePositionProperty")) {
    return setActivePositionProperty(h, asText(value, name));
  } else if (o.type == ObjectType::figure && sameName(name, "Visible")) {
    const std::string& text = asText(value, name);
    if (!sameName(text, "on") && !sameName(text, "off")) {
      throw GraphicsError("Visible is \"on\" or \"off\", not \"" + text + "\"");
    }
    return setVisible(h, sameName(text, "on"));
  } else if (o.type == ObjectType::figure && sameName(name, "Name")) {
    return setName(h, asText(value, name));
  } else if (o.type == ObjectType::uicontrol && sameName(name, "String")) {
    return setString(h, asText(value, name));
  } else if (o.type == ObjectType::uicontrol && sameName(name, "Value")) {
    return setValue(h, asNumber(value, name));
  } else if (o.type == ObjectType::uicontrol && sameName(name, "Enable")) {
    const std::string& text = asText(value, name);
    if (!sameName(text, "on") && !sameName(text, "off")) {
      throw GraphicsError("Enable is \"On\" or \"Off\", not \"" + text + "\"");
    }
    return setEnable(h, sameName(text, "on"));
  } else if (o.type == ObjectType::uicontrol && sameName(name, "Callback")) {
    o.details().callback = asText(value, name);
    property = "Callback";
  } else if (o.type == ObjectType::uicontrol && sameName(name, "TooltipString")) {
    o.details().tooltip = asText(value, name);
    property = "TooltipString";
  } else if (o.type == ObjectType::uicontrol && sameName(name, "FontName")) {
    return setFontName(h, asText(value, name));
  } else if (o.type == ObjectType::axes && sameName(name, "Hold")) {
    o.details().hold = sameName(asText(value, name), "on");
    property = "Hold";
  } else if (o.type == ObjectType::axes && sameName(name, "Title")) {
    return setTitle(h, asText(value, name));
  } else if (o.type == ObjectType::axes && sameName(name, "XLabel")) {
    return setXLabel(h, asText(value, name));
  } else if (o.type == ObjectType::axes && sameName(name, "YLabel")) {
    return setYLabel(h, asText(value, name));
  } else if (o.type == ObjectType::line && sameName(name, "MarkerSize")) {
    o.markerSize = asNumber(value, name);
    property = "MarkerSize";
  } else if (o.type == ObjectType::line && sameName(name, "DisplayName")) {
    o.displayName = keptName(asText(value, name));
    property = "DisplayName";
  } else {
    throw GraphicsError("cannot set the property " + std::string(name) + " of a " +
                        typeName(o.type));
  }
  notify(GraphicsChange::Kind::property, h, property);
}

GraphicsObject& Graphics::settable(Handle h, std::string_view property,
                                   std::initializer_list<ObjectType> types) {
  GraphicsObject& o = mutableObject(h);
  if (types.size() != 0 && std::find(types.begin(), types.end(), o.type) == types.end()) {
    throw GraphicsError("cannot set the property " + std::string(property) + " of a " +
                        typeName(o.type));
  }
  return o;
}

void Graphics::setTag(Handle h, std::string tag) {
  GraphicsObject& o = settable(h, "Tag", {});
  unindexTag(h, o.tag);
  o.tag = std::move(tag);
  indexTag(h, o.tag);
  notify(GraphicsChange::Kind::property, h, "Tag");
}

void Graphics::setUnits(Handle h, std::string units) {
  settable(h, "Units", {}).details().units = std::move(units);
  notify(GraphicsChange::Kind::property, h, "Units");
}

void Graphics::setPosition(Handle h, const Eigen::Vector4d& position) {
  ObjectDetails& d =
      settable(h, "Position", {ObjectType::figure, ObjectType::uicontrol, ObjectType::axes})
          .details();
  // A window's frame goes where its drawing area goes.
  d.outerPosition.head<2>() += position.head<2>() - d.position.head<2>();
  d.position = position;
  notify(GraphicsChange::Kind::property, h, "Position");
}

void Graphics::setOuterPosition(Handle h, const Eigen::Vector4d& position) {
  ObjectDetails& d = settable(h, "OuterPosition", {ObjectType::figure}).details();
  d.position.head<2>() += position.head<2>() - d.outerPosition.head<2>();
  d.outerPosition = position;
  notify(GraphicsChange::Kind::property, h, "OuterPosition");
}

void Graphics::setActivePositionProperty(Handle h, std::string property) {
  settable(h, "ActivePositionProperty", {ObjectType::figure}).details().activePositionProperty =
      std::move(property);
  notify(GraphicsChange::Kind::property, h, "ActivePositionProperty");
}

void Graphics::setVisible(Handle h, bool visible) {
  settable(h, "Visible", {ObjectType::figure}).details().visible = visible;
  notify(GraphicsChange::Kind::property, h, "Visible");
}

void Graphics::setName(Handle h, std::string name) {
  settable(h, "Name", {ObjectType::figure}).details().name = std::move(name);
  notify(GraphicsChange::Kind::property, h, "Name");
}

void Graphics::setString(Handle h, std::string text) {
  settable(h, "String", {ObjectType::uicontrol}).details().string = std::move(text);
  notify(GraphicsChange::Kind::property, h, "String");
}

void Graphics::setValue(Handle h, double value) {
  ObjectDetails& d = settable(h, "Value", {ObjectType::uicontrol}).details();
  d.value = value;
  if (d.style == ControlStyle::radiobutton && value != 0 && !d.group.empty()) switchOffGroup(h);
  notify(GraphicsChange::Kind::property, h, "Value");
}

void Graphics::setEnable(Handle h, bool on) {
  settable(h, "Enable", {ObjectType::uicontrol}).details().enable = on;
  notify(GraphicsChange::Kind::property, h, "Enable");
}

void Graphics::setFontName(Handle h, std::string font) {
  settable(h, "FontName", {ObjectType::uicontrol}).details().fontName = std::move(font);
  notify(GraphicsChange::Kind::property, h, "FontName");
}

void Graphics::setTitle(Handle h, std::string title) {
  settable(h, "Title", {ObjectType::axes}).details().title = std::move(title);
  notify(GraphicsChange::Kind::property, h, "Title");
}

void Graphics::setXLabel(Handle h, std::string label) {
  settable(h, "XLabel", {ObjectType::axes}).details().xlabel = std::move(label);
  notify(GraphicsChange::Kind::property, h, "XLabel");
}

void Graphics::setYLabel(Handle h, std::string label) {
  settable(h, "YLabel", {ObjectType::axes}).details().ylabel = std::move(label);
  notify(GraphicsChange::Kind::property, h, "YLabel");
}

void Graphics::switchOffGroup(Handle on) {
  const GraphicsObject& chosen = object(on);
  for (Handle sibling : object(chosen.parent).children) {
    if (sibling == on) continue;
    GraphicsObject& other = mutableObject(sibling);
    if (other.type == ObjectType::uicontrol && other.details().style == ControlStyle::radiobutton &&
        other.details().group == chosen.details().group && other.details().value != 0) {
      other.details().value = 0;
      notify(GraphicsChange::Kind::property, sibling, "Value");
    }
  }
}

void Graphics::setappdata(Handle h, std::string_view name, Value value) {
  mutableObject(h).details().appdata.insert_or_assign(std::string(name), std::move(value));
  notify(GraphicsChange::Kind::property, h, "ApplicationData");
}

std::optional<Value> Graphics::getappdata(Handle h, std::string_view name) const {
  const GraphicsObject& o = object(h);
  auto found = o.details().appdata.find(name);
  if (found == o.details().appdata.end()) return std::nullopt;
  return found->second;
}

void Graphics::rmappdata(Handle h, std::string_view name) {
  GraphicsObject& o = mutableObject(h);
  auto found = o.details().appdata.find(name);
  if (found != o.details().appdata.end()) o.details().appdata.erase(found);
  notify(GraphicsChange::Kind::property, h, "ApplicationData");
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

void Graphics::msgbox(std::string text) {
  lastMessage_ = text;
  notify(GraphicsChange::Kind::message, kRoot, std::move(text));
}

void Graphics::print(std::string_view option) {
  if (option != "-dmeta")
    throw GraphicsError("print: unknown option \"" + std::string(option) + "\"");
  const Handle window = gcf();
  clipboard_.reset();
  ClipboardPicture& picture = clipboard_.emplace();
  picture.figure = window;
  const std::vector<Handle> lines = descendants(window, ObjectType::line);
  picture.lines.reserve(lines.size());
  for (Handle h : lines) picture.lines.push_back(object(h));
  notify(GraphicsChange::Kind::picture, window, "");
}

void Graphics::copyText(std::string text) {
  textClipboard_ = text;
  notify(GraphicsChange::Kind::text, actingWindow(), std::move(text));
}

std::optional<Handle> Graphics::gcbo() const {
  if (callbackObject_ && isValid(*callbackObject_)) return callbackObject_;
  return std::nullopt;
}

std::optional<Handle> Graphics::gcbf() const {
  const std::optional<Handle> h = gcbo();
  return h ? parentFigure(*h) : std::nullopt;
}

std::optional<Handle> Graphics::parentFigure(Handle h) const {
  while (isValid(h) && h != kRoot) {
    const GraphicsObject& o = object(h);
    if (o.type == ObjectType::figure) return h;
    h = o.parent;
  }
  return std::nullopt;
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

Handle Graphics::actingWindow() const {
  if (const std::optional<Handle> window = gcbf()) return *window;
  return currentFigure_.value_or(kRoot);
}

void Graphics::setLastError(std::string text) {
  lastError_ = text;
  notify(GraphicsChange::Kind::error, actingWindow(), std::move(text));
}

void Graphics::status(std::string text) {
  notify(GraphicsChange::Kind::status, actingWindow(), std::move(text));
}

void Graphics::status(Handle window, std::string text) {
  notify(GraphicsChange::Kind::status, window, std::move(text));
}

int Graphics::subscribe(Listener listener) {
  const int id = nextListener_++;
  listeners_.emplace(id, std::make_unique<const Listener>(std::move(listener)));
  return id;
}

void Graphics::unsubscribe(int id) {
  const auto found = listeners_.find(id);
  if (found == listeners_.end()) return;
  if (telling_ > 0) retired_.push_back(std::move(found->second));
  listeners_.erase(found);
}

void Graphics::notify(GraphicsChange::Kind kind, Handle h, std::string detail) {
  if (listeners_.empty()) return;
  const GraphicsChange change{kind, h, std::move(detail)};
  // A listener may subscribe or unsubscribe while it is told: those of the
  // moment are told, from a list of them that needs no allocation for the
  // few a model has (a 2D plot announces one object per point); one that
  // unsubscribes is kept until the telling is done.
  struct Telling {
    int& depth;
    std::vector<std::unique_ptr<const Listener>>& retired;
    explicit Telling(int& d, std::vector<std::unique_ptr<const Listener>>& r)
        : depth(d), retired(r) {
      ++depth;
    }
    ~Telling() {
      if (--depth == 0) retired.clear();
    }
  } telling(telling_, retired_);
  constexpr size_t kFew = 8;
  if (listeners_.size() <= kFew) {
    std::array<const Listener*, kFew> current{};
    size_t n = 0;
    for (const auto& entry : listeners_) current[n++] = entry.second.get();
    for (size_t i = 0; i < n; ++i) (*current[i])(change);
    return;
  }
  std::vector<const Listener*> current;
  for (const auto& entry : listeners_) current.push_back(entry.second.get());
  for (const Listener* listener : current) (*listener)(change);
}

}  // namespace tarvolin
