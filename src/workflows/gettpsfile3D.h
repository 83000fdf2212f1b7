#pragma once
// Asks for a TPS-style file of 3D landmark configurations (see readtps3d.h)
// and reads it.
//
// gettpsfile3D shows the open dialog with the filter "*.txt" and the title
// "Specify 3D input file to load", reads the chosen file, and leaves the
// working directory at its folder. Returns nothing chosen when the dialog is
// cancelled. A file that cannot be opened writes "Error on file open" (no
// line end) to the console and returns it chosen, with no data and the
// reason in openError. A file that is not such a file is an InputError
// naming the file and, where it applies, the line and the record: no keyword
// at all, a record whose landmark count differs from the first record's, a
// count larger than the file could hold, a record with fewer than 3k
// numbers, a number that is not finite.
//
// Example:
//   TpsFile f = gettpsfile3D(dialogs);   // f.chosen, f.y, f.namelist, f.scale

#include "core/filedialogs.h"
#include "formats/readtps3d.h"

namespace tarvolin {

TpsFile gettpsfile3D(FileDialogs& dialogs, bool ignoreScale = false);

}  // namespace tarvolin
