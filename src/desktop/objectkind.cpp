#include <array>

#include "desktop/renderaxesparts.h"

namespace tarvolin {
namespace axesdrawing {

namespace {

constexpr int kLayers = 6;

}  // namespace

std::vector<const GraphicsObject*> plottedobjects(const Graphics& graphics, Handle axes) {
  std::vector<const GraphicsObject*> lines;
  for (Handle child : graphics.object(axes).children) {
    const GraphicsObject& object = graphics.object(child);
    if (object.type == ObjectType::line) lines.push_back(&object);
  }
  return lines;
}

ObjectKind kindof(PlotRole role, bool named) {
  switch (role) {
    case PlotRole::specimens:
      return {0, true, false};
    case PlotRole::standardized:
    case PlotRole::savedStandardized:
      return {kStandardizedLayer, true, false};
    case PlotRole::wireframe:
    case PlotRole::curves:
      return {3, false, false};
    case PlotRole::mean:
    case PlotRole::standardizedMean:
      return {4, false, true, true};
    case PlotRole::savedStandardizedMean:
      return {4, false, false, true};  // a mean, not numbered
    case PlotRole::chosen:
      return {5, false, true, true, true};
    case PlotRole::chosenLinks:
      return {5, false, false};
    // Shape space: the scores stand alone, their lines under them.
    case PlotRole::zeroLine:
    case PlotRole::pcHull:
      return {0, false, false};
    case PlotRole::pcScores:
    case PlotRole::screeProportions:
    case PlotRole::screeCumulative:
      return {1, false, false};
    case PlotRole::pcChosen:
      return {5, false, false, true, true};
    // A shape change stands out as a chosen specimen does: the specimen
    // sets fade behind it, its points drawn as a mean's.
    case PlotRole::deformationGrid:
      return {1, false, false};
    case PlotRole::warpedWireframe:
      return {3, false, false};
    case PlotRole::changeMean:
      return {4, false, false, true, true};
    case PlotRole::lollipops:
      return {5, false, false};
    case PlotRole::changeTarget:
      // Drawn plainly, so that the lollipops' ends show.
      return {5, false, false, false, true};
    // A specimen before and after sliding: its points drawn over where its
    // semilandmarks were, always numbered as its landmarks, as a chosen
    // specimen is.
    case PlotRole::unslidPoints:
      return {3, false, false};
    case PlotRole::slideLinks:
      return {4, false, false};
    case PlotRole::slidPoints:
      return {5, false, true, false, true};
    case PlotRole::checkDistances:
    case PlotRole::checkLimit:
    case PlotRole::allometrySpecimens:
    case PlotRole::fittedLine:
      return {1, false, false};
    case PlotRole::other:
      break;
  }
  return named ? ObjectKind{1, false, false} : ObjectKind{1, true, false};
}

// The plotted objects in drawing order: by layer, in model order within a
// layer. Linear: consecutive objects mostly share their role and name, which
// are then looked at once.
std::vector<Drawn> drawingorder(const std::vector<const GraphicsObject*>& lines) {
  std::vector<ObjectKind> kinds(lines.size());
  std::array<size_t, kLayers + 1> start{};
  const GraphicsObject* last = nullptr;
  ObjectKind lastKind;
  for (size_t i = 0; i < lines.size(); ++i) {
    const GraphicsObject& line = *lines[i];
    if (last == nullptr || line.role != last->role ||
        line.displayName.empty() != last->displayName.empty()) {
      last = &line;
      lastKind = kindof(line.role, !line.displayName.empty());
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
