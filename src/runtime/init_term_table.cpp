#include "runtime/runtime.h"

namespace tarvolin {

std::vector<InitTermPair> init_term_table(const Registry& registry) {
  std::vector<InitTermPair> pairs{{"mathrt", "mathrtInitialize", "mathrtTerminate"},
                                  {"graphicsrt", "graphicsrtInitialize", "graphicsrtTerminate"}};
  for (const RegisteredFunction& f : registry.functions()) {
    pairs.push_back({f.name, "InitializeModule_" + f.name, "TerminateModule_" + f.name});
  }
  return pairs;
}

}  // namespace tarvolin
