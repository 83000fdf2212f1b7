#pragma once
// Whether a result could be written to `path` now, asked before any result
// is made, so that a command with several outputs refuses a file it cannot
// write before it has written any. Throws OutputError "cannot write PATH:
// REASON", the message writefileatomic would give: for a folder, a missing
// folder, a file or folder this user may not write, or a file that nobody
// may write. A device or pipe is taken as writable; a write can still fail
// later (a full disk), which writefileatomic reports.
//
// Example:
//   checkwritable("/results/scores.csv");   // throws if /results is missing

#include <string>

namespace tarvolin {

void checkwritable(const std::string& path);

}  // namespace tarvolin
