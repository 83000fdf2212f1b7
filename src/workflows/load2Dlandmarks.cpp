#include "workflows/load2Dlandmarks.h"

#include <filesystem>
#include <system_error>

namespace tarvolin {

std::optional<ChosenLandmarks> load2Dlandmarks(FileDialogs& dialogs) {
  const std::optional<FileChoice> choice = dialogs.getFile(kLandmarkFilter, "Enter file to Load?");
  if (!choice) return std::nullopt;
  ChosenLandmarks read = loadchosenlandmarks(*choice, 2, dialogs);
  std::error_code ignored;
  std::filesystem::current_path(choice->folder, ignored);
  return read;
}

}  // namespace tarvolin
