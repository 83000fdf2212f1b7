#pragma once
// The program's life: start every module, call the main window function with
// the words of the command line, serve window events until no window is
// left, shut every module down.
//
// The events come from an EventSource: the desktop window's event loop, or
// a session script played without a display. When the source has nothing
// more to serve while windows are still open, they are closed, as a user
// quitting the program would.
//
// Returns the exit status, 0. When the main window cannot be opened (its
// figure file is missing or unreadable) every module is shut down and the
// reason is thrown as an InputError: the run cannot even start.
//
// Example:
//   MainInfo info = main_info(runtime);
//   return mainLoop(runtime, argc, argv, "Tarvolin", 1, info, events);

#include <string>
#include <vector>

#include "runtime/runtime.h"

namespace tarvolin {

// What the program hands to its main loop: the registry and the start-up
// pairs, with their counts.
struct MainInfo {
  int version = 1;
  int functionCount = 0;
  const std::vector<RegisteredFunction>* functions = nullptr;
  int globalCount = 0;
  int pathCount = 0;
  int initTermCount = 0;
  const std::vector<InitTermPair>* initTerm = nullptr;
};

MainInfo main_info(Runtime& runtime);

class EventSource {
 public:
  virtual ~EventSource() = default;
  // Serves one event; false when there is none left.
  virtual bool next(Runtime& runtime) = 0;
};

int mainLoop(Runtime& runtime, int argc, const char* const* argv, const std::string& entry, int one,
             const MainInfo& info, EventSource& events);

}  // namespace tarvolin
