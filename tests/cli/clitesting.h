#pragma once
// Runs tarvolin-cli in the test process and collects what it prints.

#include <sstream>
#include <string>
#include <vector>

#include "cli/tarvolincli.h"
#include "tests/testing.h"

namespace tarvolin::testing {

struct CliRun {
  int status = -1;
  std::string out;
  std::string err;
};

inline CliRun runCli(std::vector<std::string> words) {
  CwdGuard cwd;
  words.insert(words.begin(), "tarvolin-cli");
  std::vector<const char*> argv;
  for (const std::string& w : words) argv.push_back(w.c_str());
  std::ostringstream out;
  std::ostringstream err;
  CliRun run;
  run.status = runcli(static_cast<int>(argv.size()), argv.data(), out, err);
  run.out = out.str();
  run.err = err.str();
  return run;
}

}  // namespace tarvolin::testing
