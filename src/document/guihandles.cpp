#include "document/guihandles.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "document/isvarname.h"

namespace tarvolin {
namespace {

using TaggedHandles = std::vector<std::pair<std::string, std::vector<Handle>>>;

void collect(const Graphics& graphics, Handle h, TaggedHandles& fields) {
  const GraphicsObject& object = graphics.object(h);
  if (isvarname(Value(object.tag))) {
    auto field = std::find_if(fields.begin(), fields.end(),
                              [&](const auto& entry) { return entry.first == object.tag; });
    if (field == fields.end()) {
      fields.emplace_back(object.tag, std::vector<Handle>{h});
    } else {
      field->second.push_back(h);
    }
  }
  for (Handle child : object.children) collect(graphics, child, fields);
}

}  // namespace

Handle guiWindowOf(const Graphics& graphics, const Value& h) {
  // A NaN would compare equal to every handle in the model's map.
  if (h.isScalar() && std::isfinite(h.scalar()) && graphics.isValid(Handle(h.scalar()))) {
    if (const std::optional<Handle> window = graphics.parentFigure(Handle(h.scalar()))) {
      return *window;
    }
  }
  throw GraphicsError("H must be the handle to a figure or figure descendent.");
}

Value guihandles(Graphics& graphics, std::optional<Value> h) {
  const Handle window = h ? guiWindowOf(graphics, *h) : graphics.gcf();
  TaggedHandles fields;
  collect(graphics, window, fields);
  if (fields.empty()) return Value();

  Value::Record record;
  record.reserve(fields.size());
  for (const auto& [tag, handles] : fields) {
    Eigen::MatrixXd numbers(1, static_cast<Eigen::Index>(handles.size()));
    for (size_t i = 0; i < handles.size(); ++i) {
      numbers(0, static_cast<Eigen::Index>(i)) = handles[i].value();
    }
    record.emplace_back(tag, Value(std::move(numbers)));
  }
  return Value(std::move(record));
}

}  // namespace tarvolin
