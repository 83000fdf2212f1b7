#include "document/graphics.h"

#include <algorithm>

#include "document/graphicsdetail.h"

// The objects and their tree: windows, axes and controls made, found and
// removed.

namespace tarvolin {

using graphicsdetail::handleText;
using graphicsdetail::sameName;

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

void Graphics::setCurrentAxes(Handle h) {
  if (object(h).type != ObjectType::axes) {
    throw GraphicsError("axes: " + handleText(h) + " is not an axes");
  }
  const Handle window = object(h).parent;
  mutableObject(window).details().currentAxes = h;
  figure(window);
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

void Graphics::removePlotted(Handle h, PlotRole role) {
  std::vector<Handle> gone;
  {
    GraphicsObject& axes = mutableObject(h);
    std::vector<Handle> kept;
    kept.reserve(axes.children.size());
    for (Handle child : axes.children) {
      const GraphicsObject& c = object(child);
      (c.type == ObjectType::line && c.role == role ? gone : kept).push_back(child);
    }
    if (gone.empty()) return;
    axes.children = std::move(kept);
  }
  for (Handle child : gone) {
    const GraphicsObject& c = object(child);
    if (!c.tag.empty()) unindexTag(child, c.tag);
    objects_.erase(child);
    notify(GraphicsChange::Kind::deleted, child, {});
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
  c.details().visible = described.visible;
  c.details().numbers = described.numbers;
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

}  // namespace tarvolin
