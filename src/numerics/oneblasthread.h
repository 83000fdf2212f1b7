#pragma once
// Keeps OpenBLAS to one thread, so that its sums never depend on the number
// of cores: the numerics share their work over the cores themselves, one
// specimen or block to a lane. Call it before the first BLAS or LAPACK call.
//
// Example:
//   oneblasthread();
//   dgesv_(&n, &nrhs, a, &n, pivots, b, &n, &info);

namespace tarvolin {

void oneblasthread();

}  // namespace tarvolin
