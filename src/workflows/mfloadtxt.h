#pragma once
// As mfload, with the dialog's filter "*.txt": used for wireframe files.
//
// Example:
//   LoadedMatrix wires = mfloadtxt(dialogs);   // wires.y: one wire per row

#include "workflows/mfload.h"

namespace tarvolin {

LoadedMatrix mfloadtxt(FileDialogs& dialogs);

}  // namespace tarvolin
