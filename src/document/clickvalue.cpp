#include "document/clickvalue.h"

namespace tarvolin {

std::optional<double> clickvalue(const GraphicsObject& control) {
  if (control.type != ObjectType::uicontrol) return std::nullopt;
  const ObjectDetails& d = control.details();
  const bool toggles = d.style == ControlStyle::checkbox ||
                       (d.style == ControlStyle::radiobutton && d.group.empty());
  if (toggles) return d.value != 0 ? 0.0 : 1.0;
  if (d.style == ControlStyle::radiobutton) return 1.0;
  return std::nullopt;
}

}  // namespace tarvolin
