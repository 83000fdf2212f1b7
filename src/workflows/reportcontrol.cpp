#include "workflows/reportwindowparts.h"

namespace tarvolin {

ControlSpec reportcontrol(ControlStyle style, std::string_view tag, const char* string,
                          const Eigen::Vector4d& position, const char* tooltip) {
  ControlSpec described;
  described.style = style;
  described.tag = tag;
  described.string = string;
  described.position = position;
  described.tooltip = tooltip;
  return described;
}

}  // namespace tarvolin
