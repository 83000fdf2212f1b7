#include "desktop/opendatafile.h"

#include <QString>
#include <exception>
#include <string_view>

#include "desktop/qtview.h"
#include "document/controltags.h"
#include "formats/readlandmarks.h"
#include "runtime/runtime.h"

namespace tarvolin {
namespace {

// 2 or 3: the window the file belongs in. A file neither reader takes is
// left to the main window to refuse, and so are rows that fit 2D only as
// fewer than three landmarks (a wireframe's three columns, say).
int dimensionsOf(const std::string& path) {
  ReadOptions options;
  // The window that loads it asks about a file scaled in part; its
  // dimension does not hang on the scales.
  options.ignoreScale = true;
  try {
    return readlandmarks(path, std::nullopt, options, true).dims;
  } catch (const std::exception&) {
  }
  try {
    options.dims = 2;
    if (readlandmarks(path, std::nullopt, options, true).landmarks() >= 3) return 2;
  } catch (const std::exception&) {
  }
  return 3;
}

}  // namespace

void opendatafile(Runtime& runtime, QtView& view, const std::string& path) {
  const std::string_view base = dimensionsOf(path) == 2 ? tags::k2DWindow : tags::kMainWindow;
  std::optional<Handle> window = runtime.windowOf(base);
  if (!window) {
    runtime.call("openfig", 0, {Value(base), Value("reuse")});
    window = runtime.windowOf(base);
  }
  if (window) view.loadFile(*window, QString::fromStdString(path));
}

}  // namespace tarvolin
