#!/usr/bin/env bash
# Builds the debug preset (AddressSanitizer and UndefinedBehaviorSanitizer,
# every undefined behaviour an error) and runs every test under it. Leaks in
# libraries that are not ours are left out by tests/sanitizers.supp. Memory
# that runs out is handed back as the library's bad_alloc, as without the
# sanitizer, so that the tests of what the programs then say can run.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset debug
cmake --build --preset debug -j "$(nproc)"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:allocator_may_return_null=1
export LSAN_OPTIONS=suppressions=$PWD/tests/sanitizers.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --preset debug -j "$(nproc)"
