#include "numerics/oneblasthread.h"

#include "numerics/lapack.h"

namespace tarvolin {

void oneblasthread() {
  static const bool once = [] {
    openblas_set_num_threads(1);
    return true;
  }();
  (void)once;
}

}  // namespace tarvolin
