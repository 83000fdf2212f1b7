#!/usr/bin/env bash
# Peak resident memory and time of the whole standardize command on the
# synthetic data set (1,000 specimens x 500 landmarks). Run after building the
# bench preset: cmake --preset bench && cmake --build --preset bench
set -euo pipefail
cd "$(dirname "$0")/.."

build=build/bench
[ -x /usr/bin/time ] || { echo "needs /usr/bin/time (Debian package: time)" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$build/bench/tarvolin_benchdata_write" "$work/synthetic.txt"
for run in 1 2 3; do
  /usr/bin/time -f "run $run: %e s wall, peak %M KB, %R page faults" \
    "$build/src/app/tarvolin-cli" standardize "$work/synthetic.txt" --transform ln -o "$work/out.txt"
done
