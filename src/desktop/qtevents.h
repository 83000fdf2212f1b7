#pragma once
// The desktop window's events as the main loop's event source: each call
// waits for the next window event (a click, a key, a repaint) and serves
// it, with everything it set off.
//
// Example:
//   QtEvents events;
//   mainLoop(runtime, argc, argv, "Tarvolin", 1, main_info(runtime), events);

#include "runtime/mainLoop.h"

namespace tarvolin {

class QtEvents : public EventSource {
 public:
  bool next(Runtime& runtime) override;
};

}  // namespace tarvolin
