#!/usr/bin/env bash
# Peak resident memory and time of the whole standardize and pca commands on the
# synthetic data set (1,000 specimens x 500 landmarks), and, with --scaling,
# on eight times the specimens (8,000 x 500) and ten times the landmarks
# (1,000 x 5,000), to see that time grows in step with the data. Run after
# building the bench preset: cmake --preset bench && cmake --build --preset bench
#
#   bash bench/measure-peak-memory.sh [--scaling] [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."

scaling=false
if [ "${1:-}" = "--scaling" ]; then
  scaling=true
  shift
fi
runs=${1:-3}

build=build/bench
[ -x /usr/bin/time ] || { echo "needs /usr/bin/time (Debian package: time)" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

sizes=("1000 500")
if $scaling; then sizes+=("8000 500" "1000 5000"); fi
for size in "${sizes[@]}"; do
  read -r specimens landmarks <<<"$size"
  "$build/bench/tarvolin_benchdata_write" "$work/synthetic.txt" "$specimens" "$landmarks"
  echo "$specimens specimens x $landmarks landmarks:"
  for run in $(seq "$runs"); do
    /usr/bin/time -f "  run $run: %e s wall, peak %M KB, %R page faults" \
      "$build/bin/tarvolin-cli" standardize "$work/synthetic.txt" --transform ln -o "$work/out.txt"
  done
  for run in $(seq "$runs"); do
    /usr/bin/time -f "  pca run $run: %e s wall, peak %M KB, %R page faults" \
      "$build/bin/tarvolin-cli" pca "$work/synthetic.txt" --to csv -o "$work/scores.csv"
  done
done
