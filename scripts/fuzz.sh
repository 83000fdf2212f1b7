#!/usr/bin/env bash
# Fuzzes every reader and parser with libFuzzer: builds the fuzz targets
# with clang, AddressSanitizer and UndefinedBehaviorSanitizer into
# build/fuzz, then runs each for SECONDS (default 60) on a copy of its seed
# corpus (fuzz/corpus/NAME). Inputs that grow the coverage are kept in
# build/fuzz/corpus/NAME; an input that crashes is written to
# build/fuzz/findings/ and the script ends with status 1, naming it. Copy
# such an input into fuzz/corpus/NAME once it is mended: the test suite
# replays every corpus file.
#
#   bash scripts/fuzz.sh [SECONDS] [NAME...]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
shift || true

bash scripts/install-deps.sh
# clang and its libFuzzer, for this script only.
need=()
for p in clang libclang-rt-14-dev; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || need+=("$p")
done
if [ ${#need[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${need[@]}"
fi

cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DTARVOLIN_BUILD_TESTS=OFF -DTARVOLIN_BUILD_FUZZERS=ON \
  -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer" \
  >/dev/null
cmake --build build/fuzz --target fuzzers -j "$(nproc)"

names=("$@")
if [ ${#names[@]} -eq 0 ]; then
  for folder in fuzz/corpus/*/; do names+=("$(basename "$folder")"); done
fi
mkdir -p build/fuzz/findings
failed=()
for name in "${names[@]}"; do
  work=build/fuzz/corpus/$name
  mkdir -p "$work"
  echo "== $name: ${seconds} s"
  if ! build/fuzz/fuzz/fuzz_"$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -artifact_prefix=build/fuzz/findings/"$name"- "$work" fuzz/corpus/"$name" \
      2>build/fuzz/"$name".log; then
    failed+=("$name")
    tail -n 30 build/fuzz/"$name".log
  else
    grep -E "^(Done|#[0-9]+ +DONE)" build/fuzz/"$name".log | tail -n 1 || true
  fi
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "Findings in: ${failed[*]} (inputs in build/fuzz/findings/)"
  exit 1
fi
echo "No findings."
