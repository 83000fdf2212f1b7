// tarvolin-cli: the 3D standardization from the command line.
#include <iostream>

#include "tarvolincli.h"

int main(int argc, char** argv) { return tarvolin::runcli(argc, argv, std::cout, std::cerr); }
