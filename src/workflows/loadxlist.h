#pragma once
// Asks for an x-list file (one value per specimen, one per line) and reads it
// with mfload.
//
// Returns what mfload returns; nothing chosen when the dialog is cancelled. A
// file that cannot be opened, or whose lines hold more than one number, is an
// InputError naming the file.
//
// Example:
//   LoadedMatrix x = loadxlist(dialogs);   // x.y: N x 1

#include "core/filedialogs.h"
#include "workflows/mfload.h"

namespace tarvolin {

LoadedMatrix loadxlist(FileDialogs& dialogs);

}  // namespace tarvolin
