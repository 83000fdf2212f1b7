#pragma once
// Writes a file so that it is either written completely or not at all.
//
// The content goes to a temporary file in the target's folder, is flushed to
// disk, and the temporary file is then renamed over the target. The
// temporary file has no name until it is complete (where the file system
// offers such files), so a run that is killed leaves nothing behind; its name
// is short, so any legal target name can be written. A failure at any step
// removes the temporary file, leaves an existing target untouched, and throws
// OutputError naming the target and the reason. A new file gets the usual
// permissions (0666 less the umask); a replaced file keeps its own, and its
// owner and group where the user may set them; its set-user-ID and
// set-group-ID bits only where the owner (group) stays the same. A file
// that nobody may write is refused, for the super-user too.
//
// A file with several names (hard links), which a new file would cut off
// from the others, and a writable file in a folder where no new file can be
// made, are written in place: the whole text is made first, so a failure
// before writing leaves the file as it was; a failing write itself may lose
// the old content, and its message says so.
//
// A symbolic link is followed: the file it points to is replaced, in its own
// folder, and the link stays. A target that is not a regular file (a device
// such as /dev/null, a pipe or FIFO, /dev/stdout, /dev/fd/N) is written
// directly.
//
// The overload with a producer lets the content be written in pieces:
// produce(write) calls write(piece) as often as it likes. An exception from
// produce abandons the file the same way, and is passed on.
//
// Example:
//   writefileatomic("out/standardized.txt", text);

#include <functional>
#include <string>
#include <string_view>

namespace tarvolin {

using TextSink = std::function<void(std::string_view)>;

void writefileatomic(const std::string& path, const std::function<void(const TextSink&)>& produce);

void writefileatomic(const std::string& path, std::string_view content);

}  // namespace tarvolin
