#include <dlfcn.h>

#include "cli/clisteps.h"
#include "core/programpath.h"

namespace tarvolin {

WritePictureEntry loadpicturemodule(const std::string& picture) {
  const std::filesystem::path module = picturemodulepath(programpath());
  // Loaded once and kept: Qt, once started, stays until the program ends.
  void* handle = ::dlopen(module.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    const char* why = ::dlerror();
    throw OutputError(picture + ": cannot draw pictures without the picture module " +
                      module.string() + " (" + (why ? why : "not found") +
                      "); install it with tarvolin-cli");
  }
  auto entry = reinterpret_cast<WritePictureEntry>(::dlsym(handle, kWritePictureEntry));
  if (entry == nullptr) {
    throw OutputError(picture + ": " + module.string() + " is not Tarvolin's picture module");
  }
  return entry;
}

void writepicture(WritePictureEntry entry, const Graphics& graphics, Handle axes,
                  const std::string& picture) {
  // The size of a plot window, as the guide's pictures show it.
  constexpr int kWidth = 640, kHeight = 520;
  char message[1024] = {};
  if (entry(&graphics, axes.value(), kWidth, kHeight, picture.c_str(), TARVOLIN_VERSION, message,
            sizeof message) != 0) {
    throw OutputError(message);
  }
}

}  // namespace tarvolin
