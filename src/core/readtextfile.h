#pragma once
// Reads a whole file into memory in one block.
//
// Returns true and fills `content`, or returns false and fills `reason` with
// why the file could not be read ("No such file or directory", "is a
// folder", ...). Reading in one block keeps large data sets fast: the parsers
// then work on the text in memory.
//
// Example:
//   std::string text, reason;
//   if (!readtextfile("skulls.txt", text, reason)) report(reason);

#include <string>

namespace tarvolin {

bool readtextfile(const std::string& path, std::string& content, std::string& reason);

}  // namespace tarvolin
