#include "runtime/picturemodule.h"

namespace tarvolin {

std::filesystem::path picturemodulepath(const std::filesystem::path& program) {
  return program.parent_path().parent_path() / "lib" / "tarvolin" / "tarvolin-picture.so";
}

}  // namespace tarvolin
