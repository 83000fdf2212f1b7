#pragma once
// Hands the memory freed so far back to the system. The C library keeps
// large blocks it got from the heap once they are freed, between blocks
// still in use, to give them out again; a step that frees a matrix of
// hundreds of megabytes before making another of a different size would
// then hold both. Call it after freeing such a block; elsewhere (and on a C
// library that gives freed blocks back by itself) it does nothing.
//
// Example:
//   covariance.resize(0, 0);
//   givebackmemory();   // the peak no longer holds the covariance

namespace tarvolin {

void givebackmemory();

}  // namespace tarvolin
