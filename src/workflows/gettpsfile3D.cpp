#include "workflows/gettpsfile3D.h"

#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "core/console.h"
#include "core/readtextfile.h"

namespace tarvolin {

TpsFile gettpsfile3D(FileDialogs& dialogs, bool ignoreScale) {
  const std::optional<FileChoice> choice = dialogs.getFile("*.txt", kTps3DDialogTitle);
  if (!choice) return {};
  const std::string path = choice->path();
  std::error_code ignored;
  std::filesystem::current_path(choice->folder, ignored);

  std::string text;
  std::string reason;
  TpsFile file;
  if (readtextfile(path, text, reason)) {
    file = parsetps3D(text, path, ignoreScale);
  } else {
    console().write("Error on file open");
    file.openError = reason;
  }
  file.chosen = true;
  file.fname = choice->name;
  file.path = path;
  return file;
}

}  // namespace tarvolin
