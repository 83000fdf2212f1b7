// tarvolin: the desktop program. Started without words it opens the main
// window.
#include "rundesktop.h"

int main(int argc, char** argv) { return tarvolin::rundesktop(argc, argv); }
