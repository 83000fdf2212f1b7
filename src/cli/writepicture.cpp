#include "cli/clisteps.h"

namespace tarvolin {

void writepicture(WritePictureEntry entry, const Graphics& graphics, Handle axes,
                  const std::string& picture) {
  // About a plot window's size; a little wider than high, as the first
  // component usually spreads the specimens furthest.
  constexpr int kWidth = 720, kHeight = 540;
  char message[1024] = {};
  if (entry(&graphics, axes.value(), kWidth, kHeight, picture.c_str(), picturemodulebuild().c_str(),
            message, sizeof message) != 0) {
    throw OutputError(message);
  }
}

}  // namespace tarvolin
