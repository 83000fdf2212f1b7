#include "core/givebackmemory.h"

#include <cstdlib>  // defines __GLIBC__ on the GNU C library

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace tarvolin {

void givebackmemory() {
#if defined(__GLIBC__)
  malloc_trim(0);
#endif
}

}  // namespace tarvolin
