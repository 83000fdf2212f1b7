#!/usr/bin/env bash
# Sets everything up on a fresh Debian 12 machine, builds tarvolin-cli, and
# standardizes the bundled example data set (40 skulls, 14 landmarks) to the
# smallest ln centroid size.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset release
cmake --build --preset release --target tarvolin-cli -j "$(nproc)"

cli=build/release/src/app/tarvolin-cli
out=build/skulls_standardized.txt
"$cli" info examples/skulls_zor.txt
"$cli" standardize examples/skulls_zor.txt --transform ln -o "$out"
echo
echo "Standardized data written to $out ($(wc -l < "$out") specimens); first line:"
head -n 1 "$out"
