#pragma once
// Writes a file so that it is either written completely or not at all.
//
// The content goes to a temporary file in the target's folder, is flushed to
// disk, and the temporary file is then renamed over the target. A failure at
// any step removes the temporary file, leaves an existing target untouched,
// and throws OutputError naming the target and the reason. A new file gets
// the usual permissions (0666 less the umask); a replaced file keeps its own.
//
// Example:
//   writefileatomic("out/standardized.txt", text);

#include <string>
#include <string_view>

namespace tarvolin {

void writefileatomic(const std::string& path, std::string_view content);

}  // namespace tarvolin
