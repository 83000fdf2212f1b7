// tarvolin: the desktop program. Started without words it opens the main
// window.
#include <csignal>

#include "desktop/rundesktop.h"

int main(int argc, char** argv) {
  // Past a file-size limit a save then fails with a message naming the file,
  // instead of the signal ending the program.
  std::signal(SIGXFSZ, SIG_IGN);
  return tarvolin::rundesktop(argc, argv);
}
