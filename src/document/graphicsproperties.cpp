#include <algorithm>
#include <cmath>

#include "document/graphics.h"
#include "document/graphicsdetail.h"

// Properties by name, and the typed setters that setting by name goes
// through; application data.

namespace tarvolin {

using graphicsdetail::handleText;
using graphicsdetail::sameName;

namespace {

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
    case ControlStyle::listbox:
      return "listbox";
    case ControlStyle::popupmenu:
      return "popupmenu";
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
  if ((o.type == ObjectType::uicontrol || o.type == ObjectType::axes) &&
      sameName(name, "Callback")) {
    return o.details().callback;
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
    if (sameName(name, "Visible")) return std::string(o.details().visible ? "on" : "off");
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
  } else if ((o.type == ObjectType::figure || o.type == ObjectType::uicontrol) &&
             sameName(name, "Visible")) {
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
  } else if ((o.type == ObjectType::uicontrol || o.type == ObjectType::axes) &&
             sameName(name, "Callback")) {
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
  settable(h, "Visible", {ObjectType::figure, ObjectType::uicontrol}).details().visible = visible;
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

}  // namespace tarvolin
