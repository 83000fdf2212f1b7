#include <array>

#include "desktop/renderaxesparts.h"
#include "document/legendnames.h"

namespace tarvolin {
namespace axesdrawing {

namespace {

constexpr int kLayers = 5;

}  // namespace

std::vector<const GraphicsObject*> plottedobjects(const Graphics& graphics, Handle axes) {
  std::vector<const GraphicsObject*> lines;
  for (Handle child : graphics.object(axes).children) {
    const GraphicsObject& object = graphics.object(child);
    if (object.type == ObjectType::line) lines.push_back(&object);
  }
  return lines;
}

ObjectKind kindof(std::string_view name) {
  if (name.empty()) return {1, true, false};
  if (name == kSuperimposed) return {0, true, false};
  if (name == kStandardized || name == kStandardizedSaved) return {kStandardizedLayer, true, false};
  if (name == kWireframe) return {3, false, false};
  if (name == kMeanShape || name == kStandardizedMean) return {4, false, true, true};
  // The saved mean (kStandardizedSavedMean) is drawn as a mean, unnumbered.
  if (name.starts_with(kMeanPrefix)) return {4, false, false, true};
  return {1, false, false};
}

// The plotted objects in drawing order: by layer, in model order within a
// layer. Linear: consecutive objects mostly share their name, which is then
// looked at once.
std::vector<Drawn> drawingorder(const std::vector<const GraphicsObject*>& lines) {
  std::vector<ObjectKind> kinds(lines.size());
  std::array<size_t, kLayers + 1> start{};
  std::string_view lastName;
  ObjectKind lastKind = kindof({});
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string_view name = lines[i]->displayName;
    if (i == 0 || name != lastName) {
      lastName = name;
      lastKind = kindof(name);
    }
    kinds[i] = lastKind;
    ++start[static_cast<size_t>(lastKind.layer) + 1];
  }
  for (size_t layer = 1; layer <= kLayers; ++layer) start[layer] += start[layer - 1];
  std::vector<Drawn> order(lines.size());
  for (size_t i = 0; i < lines.size(); ++i) {
    order[start[static_cast<size_t>(kinds[i].layer)]++] = {lines[i], kinds[i]};
  }
  return order;
}

size_t pointcount(const std::vector<const GraphicsObject*>& lines) {
  size_t points = 0;
  for (const GraphicsObject* line : lines) points += static_cast<size_t>(line->xdata.size());
  return points;
}

bool anyzdata(const std::vector<const GraphicsObject*>& lines) {
  return std::any_of(lines.begin(), lines.end(),
                     [](const GraphicsObject* line) { return line->zdata.size() > 0; });
}

}  // namespace axesdrawing

}  // namespace tarvolin
