#include "runtime/mainLoop.h"

#include "core/errors.h"

namespace tarvolin {
namespace {

bool anyWindowOpen(Graphics& graphics) { return !graphics.object(kRoot).children.empty(); }

}  // namespace

MainInfo main_info(Runtime& runtime) {
  MainInfo info;
  info.functions = &runtime.registry().functions();
  info.functionCount = static_cast<int>(info.functions->size());
  info.initTerm = &runtime.initTermTable();
  info.initTermCount = static_cast<int>(info.initTerm->size());
  return info;
}

int mainLoop(Runtime& runtime, int argc, const char* const* argv, const std::string& entry,
             int /*one*/, const MainInfo& /*info*/, EventSource& events) {
  runtime.startup();
  Values words;
  for (int i = 1; i < argc; ++i) words.emplace_back(argv[i]);
  try {
    runtime.call(entry, 0, words);
  } catch (const std::exception& e) {
    // The main window could not open: nothing to serve, and the run ends
    // here, said where the user looks for such a message.
    runtime.shutdown();
    throw InputError(e.what());
  }
  Graphics& graphics = runtime.graphics();
  while (anyWindowOpen(graphics) && events.next(runtime)) {
  }
  while (anyWindowOpen(graphics)) graphics.close(graphics.object(kRoot).children.back());
  runtime.shutdown();
  return 0;
}

}  // namespace tarvolin
