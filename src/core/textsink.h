#pragma once
// Where a routine writes the texts it shows along the way (self-checks,
// notices): the caller decides, so the numerics never reach for a console of
// their own. The command line and the window pass consoleSink() (console.h);
// a test passes a lambda that keeps the text.
//
// Example:
//   std::string seen;
//   const TextSink keep = [&](std::string_view text) { seen += text; };
//   partialprocrustes3a(reference, subject, keep);

#include <functional>
#include <string_view>

namespace tarvolin {

using TextSink = std::function<void(std::string_view)>;

}  // namespace tarvolin
