#include "workflows/slidersfilekind.h"

#include "formats/readsliders.h"

namespace tarvolin {

SlidersFileKind slidersfilekind(std::string_view text) {
  return sliderrowwidth(text) == 1 ? SlidersFileKind::surface : SlidersFileKind::curves;
}

}  // namespace tarvolin
