#pragma once
// The callback string of a control that runs one action of a switchyard:
// MODULE('ACTION'), a quote inside the action doubled, as the runtime's
// parsecallback reads it back.
//
// Example:
//   described.callback = actioncallback("stand3sw", "CheckSelect");   // stand3sw('CheckSelect')

#include <string>
#include <string_view>

namespace tarvolin {

std::string actioncallback(std::string_view module, std::string_view action);

}  // namespace tarvolin
