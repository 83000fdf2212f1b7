#include "document/cla.h"

namespace tarvolin {

Handle cla(Graphics& graphics, std::span<const std::string> options) {
  graphics.clearObject(graphics.gca(), options);
  return graphics.gca();
}

}  // namespace tarvolin
