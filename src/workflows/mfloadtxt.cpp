#include "workflows/mfloadtxt.h"

namespace tarvolin {

LoadedMatrix mfloadtxt(FileDialogs& dialogs) { return detail::loadchosenmatrix(dialogs, "*.txt"); }

}  // namespace tarvolin
