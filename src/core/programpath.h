#pragma once
// The full path of the running program's executable, symbolic links
// resolved, so that files installed beside it can be found wherever the
// program was installed or copied to.
//
// It asks the system (/proc/self/exe); where that cannot answer, it takes
// `invokedAs` (argv[0]) relative to the working directory, or, for a bare
// name, the first folder of PATH that holds it. Empty when nothing answers.
//
// Example:
//   std::filesystem::path program = programpath(argv[0]);
//   // "/usr/bin/tarvolin-cli"

#include <filesystem>
#include <string_view>

namespace tarvolin {

std::filesystem::path programpath(std::string_view invokedAs = {});

}  // namespace tarvolin
