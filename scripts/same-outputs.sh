#!/usr/bin/env bash
# Proves that two builds of tarvolin-cli give the same bytes: every command on
# every bundled example (every output format, x-variable, transform, missing
# landmark policy, groups, the allometry table as text and JSON, the data
# check, the principal components with every output, the sliding of
# semilandmarks by both criteria), the session
# scripts, files that are refused, and two large generated data sets. For each
# run it compares standard output, standard error, the exit status and every
# file written.
#
#   bash scripts/same-outputs.sh BEFORE/tarvolin-cli AFTER/tarvolin-cli
#
# Prints one line per run that differs and a count at the end; the exit
# status is 1 when anything differs. Set KEEP=DIR to keep both sets of outputs.
set -uo pipefail

if [[ $# -ne 2 ]]; then
  echo "usage: $0 BEFORE_CLI AFTER_CLI" >&2
  exit 2
fi
before=$(realpath "$1")
after=$(realpath "$2")
top=$(cd "$(dirname "$0")/.." && pwd)
work=${KEEP:-$(mktemp -d)}
mkdir -p "$work"
[[ -n ${KEEP:-} ]] || trap 'rm -rf "$work"' EXIT

# The inputs, copied once so that both builds read the same paths.
inputs="$work/in"
rm -rf "$inputs"
cp -r "$top/examples" "$inputs"
printf 'not a landmark file\n' >"$inputs/garbage.txt"
printf '1 2 3 4 5\n6 7 8\n' >"$inputs/ragged.txt"
: >"$inputs/empty.txt"
seq 1 40 | sed 's/^/-/' >"$inputs/negative_x.txt"

# Two large data sets, the same on every run: 1,200 specimens of 60
# landmarks in 3D (ZOR rows), and 400 specimens of 40 landmarks in 2D (TPS).
awk 'BEGIN { srand(7); for (i = 0; i < 1200; i++) { s = 1 + i / 600;
  for (j = 0; j < 60; j++) for (c = 0; c < 3; c++)
    printf "%.6f ", s * (sin(j * (c + 1)) * 10 + rand());
  printf "%.4f\n", 100 * s } }' >"$inputs/large3d.txt"
awk 'BEGIN { srand(11); for (i = 0; i < 400; i++) { s = 1 + i / 200;
  printf "LM=40\n"; for (j = 0; j < 40; j++)
    printf "%.5f %.5f\n", s * (cos(j) * 20 + rand()), s * (sin(j) * 12 + rand());
  printf "ID=large_%d\n", i } }' >"$inputs/large2d.tps"

runs=()
add() { runs+=("$*"); }

datasets=(skulls_zor.txt skulls.csv skulls.nts skulls.tps skulls_tps.txt
  skulls_morphologika.txt skulls_slicer skulls2d.tps skulls2d.txt
  skulls2d_superimposed.txt large3d.txt large2d.tps)
for data in "${datasets[@]}"; do
  add info "$data"
  add info "$data" --gpa converged
  for to in zor csv tps nts morphologika; do
    add superimpose "$data" --to "$to" -o out.txt
    add standardize "$data" --transform ln --to "$to" -o out.txt
    add convert "$data" --to "$to" -o out.txt
  done
  add standardize "$data"
  add standardize "$data" --transform log10 --keep-size
  add standardize "$data" --standard 0.5 --gpa converged --tolerance 1e-12
  add allometry "$data" --transform ln --permutations 99
  add allometry "$data" --json --permutations 49 --seed 5
done
for data in skulls.csv skulls_faults.tps skulls2d.tps large3d.txt large2d.tps; do
  add check "$data"
  add check "$data" --json
  add pca "$data"
  add pca "$data" --json --of standardized --transform ln
  add pca "$data" --to csv --loadings loadings.csv --shapes shapes.csv
done
add check skulls.csv --x skulls_covariates.csv:mass --groups skulls_covariates.csv:group
add pca skulls.csv --of standardized --groups skulls_covariates.csv:group --shapes shapes.tps --to tps
add pca skulls.csv --components 3 --json
for slide in be procd; do
  add info shells.csv --sliders shells_sliders.txt --surface shells_surface.txt --slide "$slide"
  add superimpose shells.csv --sliders shells_sliders.txt --surface shells_surface.txt \
    --slide "$slide" --to csv -o out.txt
  add superimpose wings2d.tps --slide "$slide" --to tps -o out.txt
  add standardize wings2d.tps --slide "$slide" --transform ln
  add pca wings2d.tps --slide "$slide" --json
done
add superimpose shells.csv --sliders shells_sliders.txt --slide-rounds 3 --project
add check wings2d.tps
add superimpose wings2d.tps --slide none
add info skulls_tps.txt --tps
add standardize skulls_tps.txt --tps --transform ln
add standardize skulls_zor.txt --x skulls_mass.txt --transform ln
add standardize skulls.csv --x skulls_covariates.csv:mass --transform log10
add standardize skulls.csv --groups skulls_covariates.csv:group --transform ln
add allometry skulls.csv --groups skulls_covariates.csv:group --interaction --permutations 99
add allometry skulls.csv --x skulls_covariates.csv:mass --groups skulls_covariates.csv:group --json
for missing in refuse drop-specimens drop-landmarks estimate; do
  add info skulls_missing.csv --missing "$missing"
  add standardize skulls_missing.csv --missing "$missing" --transform ln
  add convert skulls_missing.csv --missing "$missing" --to tps
done
add convert skulls_missing.csv --missing keep --to morphologika
add standardize skulls_zor.txt --missing-code -99 --dim 3
add standardize skulls_zor.txt --x nosuchfile.txt
add standardize skulls_zor.txt --x skulls_covariates.csv:nosuchcolumn
add standardize skulls_zor.txt --standard abc
add standardize skulls_zor.txt --x negative_x.txt --transform ln --groups nosuchgroups.txt
add allometry skulls_zor.txt --x negative_x.txt --transform ln --groups nosuchgroups.txt
add standardize skulls2d.txt --dim 3
add info garbage.txt
add info ragged.txt
add info empty.txt
add info nosuchfile.txt
add superimpose skulls_zor.txt --format nts
add run session3d.txt --figures "$top/resources"
add run session2d.txt --figures "$top/resources"
add frobnicate skulls_zor.txt
add standardise skulls_zor.txt

# Both builds run in the same folder, so that messages naming a file agree.
run_one() {  # CLI OUTDIR ARGS...: runs in a copy of the inputs, keeps what it wrote
  local cli=$1 out=$2
  shift 2
  rm -rf "$out" "$work/run"
  cp -r "$inputs" "$work/run"
  (cd "$work/run" && "$cli" "$@" >stdout.bin 2>stderr.bin; echo $? >status.txt)
  mv "$work/run" "$out"
}

differ=0
index=0
for run in "${runs[@]}"; do
  index=$((index + 1))
  read -r -a args <<<"$run"
  run_one "$before" "$work/before" "${args[@]}"
  run_one "$after" "$work/after" "${args[@]}"
  if ! diff -r -q "$work/before" "$work/after" >/dev/null; then
    differ=$((differ + 1))
    echo "differs: tarvolin-cli $run"
    diff -r -q "$work/before" "$work/after" | sed 's/^/    /' | head -5
    if [[ -n ${KEEP:-} ]]; then
      mv "$work/before" "$work/before.$index"
      mv "$work/after" "$work/after.$index"
    fi
  fi
done
rm -rf "$work/before" "$work/after"
echo "${#runs[@]} runs, $differ differ"
[[ $differ -eq 0 ]]
