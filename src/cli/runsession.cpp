#include <filesystem>

#include "cli/clisteps.h"
#include "runtime/figurefolder.h"
#include "runtime/sessionscript.h"

namespace tarvolin {

int runsessioncommand(const CliOptions& options, const char* program, std::ostream& out,
                      std::ostream& err) {
  // A script's loads ask for their files as the window does, and those
  // loaders move into the folder of the file they read: the figure folder
  // is fixed before the first of them.
  std::string figures = options.figures;
  if (figures.empty()) {
    figures = installedfigurefolder(program).string();
  } else {
    figures = std::filesystem::absolute(figures).lexically_normal().string();
  }
  return runsession(options.script, figures, options.strict, out, err);
}

}  // namespace tarvolin
