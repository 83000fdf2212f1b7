#include "workflows/mfload.h"

#include <filesystem>
#include <system_error>

#include "formats/dload.h"

namespace tarvolin {

namespace detail {

LoadedMatrix loadchosenmatrix(FileDialogs& dialogs, std::string_view filter) {
  LoadedMatrix result;
  const std::optional<FileChoice> choice = dialogs.getFile(filter, "Enter file to Load?");
  if (!choice) return result;
  result.chosen = true;
  result.fn = choice->name;
  result.path = choice->path();
  result.y = dload(result.path, &result.openError, &result.notice);
  // The next dialog opens where this file was found; a folder that has gone
  // meanwhile leaves the working directory where it was.
  std::error_code ignored;
  std::filesystem::current_path(choice->folder, ignored);
  return result;
}

}  // namespace detail

LoadedMatrix mfload(FileDialogs& dialogs) { return detail::loadchosenmatrix(dialogs, "*.*"); }

}  // namespace tarvolin
