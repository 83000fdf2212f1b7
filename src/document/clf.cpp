#include "document/clf.h"

namespace tarvolin {

Handle clf(Graphics& graphics, std::span<const std::string> options) {
  const Handle window = graphics.gcf();
  graphics.clearObject(window, options);
  return window;
}

}  // namespace tarvolin
