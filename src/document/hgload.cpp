#include "document/hgload.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "core/readtextfile.h"
#include "core/sprintf.h"
#include "core/texthelpers.h"

namespace tarvolin {
namespace {

using nlohmann::json;

struct WindowLayout {
  std::optional<std::string> name;
  std::optional<std::string> tag;
  std::optional<Eigen::Vector4d> position;
  bool visible = true;
};

// A plotting area of the window: the window's plots go there.
struct FigureAxes {
  std::string tag;
  Eigen::Vector4d position;
};

struct FigureLayout {
  WindowLayout window;
  std::vector<ControlSpec> controls;
  std::vector<FigureAxes> axes;
};

constexpr std::array<std::pair<std::string_view, ControlStyle>, 7> kStyles{{
    {"pushbutton", ControlStyle::pushbutton},
    {"radiobutton", ControlStyle::radiobutton},
    {"checkbox", ControlStyle::checkbox},
    {"edit", ControlStyle::edit},
    {"text", ControlStyle::text},
    {"listbox", ControlStyle::listbox},
    {"popupmenu", ControlStyle::popupmenu},
}};

std::string lower(const std::string& text) { return lowered(text); }

// Reads the values of one JSON object, naming the object in every complaint.
class Fields {
 public:
  Fields(const json& object, std::string where) : object_(object), where_(std::move(where)) {
    if (!object_.is_object()) fail("must be an object");
  }

  [[noreturn]] void fail(const std::string& problem) const {
    throw GraphicsError(where_ + ": " + problem);
  }

  void refuseOtherKeys(std::initializer_list<std::string_view> known) const {
    for (const auto& item : object_.items()) {
      if (std::find(known.begin(), known.end(), item.key()) == known.end()) {
        fail("unknown key \"" + item.key() + "\"");
      }
    }
  }

  std::optional<std::string> text(std::string_view key) const {
    const json* value = find(key);
    if (value == nullptr) return std::nullopt;
    if (!value->is_string()) fail("\"" + std::string(key) + "\" must be a text");
    return value->get<std::string>();
  }

  std::optional<double> number(std::string_view key) const {
    const json* value = find(key);
    if (value == nullptr) return std::nullopt;
    if (!value->is_number()) fail("\"" + std::string(key) + "\" must be a number");
    return value->get<double>();
  }

  // "on" or "off" in any letter case.
  std::optional<bool> onOff(std::string_view key) const {
    const std::optional<std::string> value = text(key);
    if (!value) return std::nullopt;
    const std::string word = lower(*value);
    if (word != "on" && word != "off") {
      fail("\"" + std::string(key) + "\" must be \"on\" or \"off\", not \"" + *value + "\"");
    }
    return word == "on";
  }

  std::optional<Eigen::Vector4d> position(std::string_view key) const {
    const json* value = find(key);
    if (value == nullptr) return std::nullopt;
    const std::string problem =
        "\"" + std::string(key) + "\" must be four numbers: left, bottom, width, height";
    if (!value->is_array() || value->size() != 4) fail(problem);
    Eigen::Vector4d rect;
    for (Eigen::Index i = 0; i < 4; ++i) {
      const json& element = (*value)[static_cast<size_t>(i)];
      if (!element.is_number()) fail(problem);
      rect(i) = element.get<double>();
      if (!std::isfinite(rect(i))) fail(problem);
    }
    if (rect(2) < 0 || rect(3) < 0) fail("\"" + std::string(key) + "\" has a negative size");
    return rect;
  }

 private:
  const json* find(std::string_view key) const {
    auto found = object_.find(key);
    return found == object_.end() ? nullptr : &*found;
  }

  const json& object_;
  std::string where_;
};

json parseFile(const std::string& path) {
  // A figure file describes one window in a few kilobytes; anything far
  // larger is not one, and is refused before it is held in memory.
  constexpr std::uintmax_t kLargestFigure = 4 << 20;
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (!error && size > kLargestFigure) {
    throw GraphicsError(path + ": is " + std::to_string(size) +
                        " bytes, too large for a figure file (at most 4 MB)");
  }
  std::string text, reason;
  if (!readtextfile(path, text, reason)) {
    throw GraphicsError(path + ": cannot read the figure file (" + reason + ")");
  }
  try {
    return json::parse(text);
  } catch (const json::parse_error& e) {
    // The parser's byte counts from 1 and points at the character it stopped on.
    const size_t stop = std::min(e.byte > 0 ? e.byte - 1 : 0, text.size());
    const long line = 1 + std::count(text.begin(), text.begin() + static_cast<long>(stop), '\n');
    std::string detail = e.what();
    // Keep the parser's explanation, not its own position and error number.
    if (size_t colon = detail.find(": "); colon != std::string::npos) {
      detail = detail.substr(colon + 2);
    }
    throw GraphicsError(path + ":" + std::to_string(line) + ": not valid JSON: " + detail);
  } catch (const json::exception& e) {
    // Valid JSON the library cannot hold, such as the number 1e999.
    std::string detail = e.what();
    if (size_t space = detail.find("] "); space != std::string::npos) {
      detail = detail.substr(space + 2);
    }
    throw GraphicsError(path + ": not a figure file Tarvolin can read: " + detail);
  }
}

ControlSpec readControl(const json& entry, const std::string& path, size_t index) {
  std::string where = path + ": control " + std::to_string(index + 1);
  if (entry.is_object()) {
    auto tag = entry.find("tag");
    if (tag != entry.end() && tag->is_string()) {
      where += " (tag \"" + tag->get<std::string>() + "\")";
    }
  }
  const Fields fields(entry, where);
  fields.refuseOtherKeys(
      {"style", "tag", "string", "position", "value", "enable", "visible", "callback", "tooltip",
       "group"});

  ControlSpec described;
  const std::optional<std::string> style = fields.text("style");
  if (!style) fields.fail("\"style\" is missing");
  auto known = std::find_if(kStyles.begin(), kStyles.end(),
                            [&](const auto& entryStyle) { return entryStyle.first == *style; });
  if (known == kStyles.end()) {
    fields.fail("unknown style \"" + *style +
                "\" (pushbutton, radiobutton, checkbox, edit or text)");
  }
  described.style = known->second;
  described.tag = fields.text("tag").value_or("");
  described.string = fields.text("string").value_or("");
  described.value = fields.number("value").value_or(0);
  described.enable = fields.onOff("enable").value_or(true);
  described.visible = fields.onOff("visible").value_or(true);
  described.callback = fields.text("callback").value_or("");
  described.tooltip = fields.text("tooltip").value_or("");
  described.group = fields.text("group").value_or("");
  if (const std::optional<Eigen::Vector4d> position = fields.position("position")) {
    described.position = *position;
  }
  return described;
}

FigureLayout readLayout(const std::string& path) {
  const json document = parseFile(path);
  const Fields top(document, path + ": not a figure file");
  // The format first: another program's file is named as such, not by its keys.
  if (top.text("format") != std::optional<std::string>("tarvolin-figure")) {
    top.fail("\"format\" must be \"tarvolin-figure\"");
  }
  top.refuseOtherKeys({"format", "version", "window", "controls", "axes"});
  if (const std::optional<double> version = top.number("version"); version && *version != 1) {
    top.fail("version " + sprintf("%g", *version) + " is not known (only 1)");
  }

  FigureLayout layout;
  if (auto window = document.find("window"); window != document.end()) {
    const Fields fields(*window, path + ": window");
    fields.refuseOtherKeys({"name", "tag", "position", "visible"});
    layout.window.name = fields.text("name");
    layout.window.tag = fields.text("tag");
    layout.window.position = fields.position("position");
    layout.window.visible = fields.onOff("visible").value_or(true);
  }
  if (auto controls = document.find("controls"); controls != document.end()) {
    if (!controls->is_array()) throw GraphicsError(path + ": \"controls\" must be a list");
    for (size_t i = 0; i < controls->size(); ++i) {
      layout.controls.push_back(readControl((*controls)[i], path, i));
    }
  }
  if (auto axes = document.find("axes"); axes != document.end()) {
    if (!axes->is_array()) throw GraphicsError(path + ": \"axes\" must be a list");
    for (size_t i = 0; i < axes->size(); ++i) {
      const Fields fields((*axes)[i], path + ": axes " + std::to_string(i + 1));
      fields.refuseOtherKeys({"tag", "position"});
      layout.axes.push_back(
          {fields.text("tag").value_or(""),
           fields.position("position").value_or(Eigen::Vector4d(60, 40, 400, 300))});
    }
  }
  return layout;
}

}  // namespace

Handle hgload(Graphics& graphics, const std::string& path) {
  // Everything is checked before the window exists, so that a bad file
  // leaves nothing on the screen.
  const FigureLayout layout = readLayout(path);
  const std::optional<Handle> previous = graphics.currentFigure();
  const Handle fig = graphics.figure();
  try {
    if (!layout.window.visible) graphics.setVisible(fig, false);
    if (layout.window.name) graphics.setName(fig, *layout.window.name);
    if (layout.window.tag) graphics.setTag(fig, *layout.window.tag);
    if (layout.window.position) {
      // The file gives the drawing area; the frame keeps the margins a new
      // window has, so that the outer size is never smaller than the inner.
      const GraphicsObject& window = graphics.object(fig);
      const Eigen::Vector4d frame = window.details().outerPosition - window.details().position;
      const Eigen::Vector4d area = *layout.window.position;
      graphics.setPosition(fig, area);
      graphics.setOuterPosition(fig, area + frame);
    }
    for (const ControlSpec& described : layout.controls) graphics.uicontrol(fig, described);
    for (const FigureAxes& area : layout.axes) {
      const Handle axes = graphics.axes(fig);
      graphics.setPosition(axes, area.position);
      if (!area.tag.empty()) graphics.setTag(axes, area.tag);
    }
    // A window nobody sees must not catch the plots and lookups meant for
    // the window the user is working in.
    if (!layout.window.visible && previous) graphics.figure(*previous);
  } catch (const GraphicsError& e) {
    if (graphics.isValid(fig)) graphics.close(fig);
    throw GraphicsError(path + ": " + e.what());
  }
  return fig;
}

}  // namespace tarvolin
