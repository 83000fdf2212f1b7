#!/usr/bin/env bash
# Sets everything up on a fresh Debian 12 machine, builds with warnings as
# errors, and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset ci
cmake --build --preset ci -j "$(nproc)"
ctest --preset ci -j "$(nproc)"
