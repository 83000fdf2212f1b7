#!/usr/bin/env bash
# Makes the screenshots of the README, the reference and the guide
# (docs/screenshots) with the desktop program itself: each
# session below is replayed on the real windows by `tarvolin --run`, which
# then saves a picture of every open window.
#
#   bash scripts/screenshots.sh [OUTPUT_FOLDER]     (default docs/screenshots)
#
# It builds the release preset's `tarvolin` when there is none (TARVOLIN=PATH
# names another build of it). The windows are drawn offscreen unless
# QT_QPA_PLATFORM says otherwise; QT_SCALE_FACTOR=2 gives the pictures of a
# doubled screen.
set -euo pipefail
cd "$(dirname "$0")/.."

out=${1:-docs/screenshots}
program=${TARVOLIN:-build/release/bin/tarvolin}
if [ ! -x "$program" ]; then
  cmake --preset release >/dev/null
  cmake --build --preset release --target tarvolin -j "$(nproc)"
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Offscreen, on a screen of a common laptop's size, so that no window is
# narrowed to fit.
cat >"$work/screen.json" <<'JSON'
{"screens": [{"name": "screen", "x": 0, "y": 0, "width": 1600, "height": 1000, "dpi": 96, "dpr": 1}]}
JSON
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen:configfile=$work/screen.json}
mkdir -p "$out" build

# replay NAME STEP...: runs the steps, the pictures going to $work/NAME/.
replay() {
  local name=$1
  shift
  printf '%s\n' "$@" >"$work/$name.txt"
  "$program" --run "$work/$name.txt" --screenshots "$work/$name" --strict >/dev/null
}

# The 3D workflow on the example data, standardized to ln centroid size.
replay standardized \
  "choose examples/skulls_wire.txt" "press LoadWireButton" \
  "choose examples/skulls_zor.txt" "press LoadDataButton" \
  "press UseCSButton" "press LnButton" "press GoRegress" "press AcceptStandard" \
  "choose build/skulls_standardized.txt" "press SaveStandard"
cp "$work/standardized/Tarvolin.png" "$out/main-window.png"
cp "$work/standardized/plot.png" "$out/plot-standardized.png"

# The allometry report of the same data.
replay allometry \
  "choose examples/skulls_zor.txt" "press LoadDataButton" \
  "press UseCSButton" "press LnButton" "press GoRegress" "press AllometryButton"
cp "$work/allometry/allometry.png" "$out/allometry.png"

# The data check of the example with slips, the skull with two landmarks
# swapped chosen in its table and shown in the plot.
replay check \
  "choose examples/skulls_faults.tps" "press LoadDataButton" "press CheckDataButton" \
  "window check" "set CheckTable Value 2" "press CheckTable"
cp "$work/check/check.png" "$out/check.png"
cp "$work/check/plot.png" "$out/check-plot.png"

# Shape space of the example with groups, after standardizing: the
# standardized analysis with the groups' hulls, and the shape change along
# PC1, magnified three times, in the plot window.
replay shapespace \
  "choose examples/skulls_wire.txt" "press LoadWireButton" \
  "choose examples/skulls.tps" "press LoadDataButton" \
  "choose examples/skulls_covariates.csv" "press LoadGroupsButton" \
  "press UseCSButton" "press LnButton" "press GoRegress" "press AcceptStandard" \
  "press ShapeSpaceButton" "window shapespace" "press ShapeOfStandardized" "press ShapeHulls" \
  "set ShapeMagnify String 3" "press ShapeChangeButton"
cp "$work/shapespace/shapespace.png" "$out/shapespace.png"
cp "$work/shapespace/plot.png" "$out/shape-change.png"

# The shape change that goes with size, from the allometry report.
replay sizechange \
  "choose examples/skulls_wire.txt" "press LoadWireButton" \
  "choose examples/skulls_zor.txt" "press LoadDataButton" \
  "press UseCSButton" "press LnButton" "press GoRegress" "press AllometryButton" \
  "window allometry" "set AllometryMagnify String 3" "press AllometryChangeButton"
cp "$work/sizechange/plot.png" "$out/size-change.png"

# The 2D window's shape change along PC1 with its deformation grid.
replay grid \
  "press Open2DButton" "window Tarvolin2D" \
  "choose examples/skulls2d_superimposed.txt" "press LoadDataButton" \
  "press ShapeSpaceButton" "window shapespace" "press ShapeChangeGrid" \
  "press ShapeChangeButton"
cp "$work/grid/Tarvolin2D.png" "$out/shape-change-2d.png"

# The main window and the plot right after loading, before Accept x (user guide).
replay loaded \
  "choose examples/skulls_wire.txt" "press LoadWireButton" \
  "choose examples/skulls_zor.txt" "press LoadDataButton" \
  "press UseCSButton" "press LnButton"
cp "$work/loaded/Tarvolin.png" "$out/guide-main-loaded.png"
cp "$work/loaded/plot.png" "$out/guide-plot-loaded.png"

# A refused save: the standard value edited after Standardize (user guide).
# Not --strict: the refusal is the point (it would end the run with status 1).
printf '%s\n' "choose examples/skulls_zor.txt" "press LoadDataButton" "press UseCSButton" \
  "press LnButton" "press GoRegress" "press AcceptStandard" \
  "set StandardBox String 3.5" "press SaveStandard" >"$work/refused.txt"
"$program" --run "$work/refused.txt" --screenshots "$work/refused" >/dev/null || true
cp "$work/refused/Tarvolin.png" "$out/guide-error.png"

# The 2D window on the superimposed side views.
replay twoD \
  "press Open2DButton" "window Tarvolin2D" \
  "choose examples/skulls2d_superimposed.txt" "press LoadDataButton" \
  "press UseCSButton" "press LogButton" "press GoRegress" "press AcceptStandard" \
  "press ShowStandard"
cp "$work/twoD/Tarvolin2D.png" "$out/window-2d.png"

# The shells with their sliders and surface files, sliding (user guide): the
# main window with the switch, and the plot with the semilandmarks smaller.
replay sliding \
  "choose examples/shells.csv" "press LoadDataButton" \
  "choose examples/shells_sliders.txt" "press LoadSlidersButton" \
  "choose examples/shells_surface.txt" "press LoadSlidersButton" "press SlideBox" \
  "press ShowSlidingButton"
cp "$work/sliding/Tarvolin.png" "$out/sliding.png"
cp "$work/sliding/plot.png" "$out/sliding-plot.png"
cp "$work/sliding/sliding.png" "$out/sliding-specimen.png"

# The 2D wing outlines, slid, one wing before and after sliding.
replay sliding2d \
  "press Open2DButton" "window Tarvolin2D" \
  "choose examples/wings2d.tps" "press LoadDataButton" "press SlideBox" \
  "press ShowSlidingButton"
cp "$work/sliding2d/sliding.png" "$out/sliding-specimen-2d.png"

# A large data set: 200 specimens of 60 landmarks, made up here.
awk 'BEGIN {
  srand(20261207)
  for (i = 0; i < 200; i++) {
    size = 50 + 40 * rand(); line = ""
    for (j = 0; j < 60; j++) {
      t = 6.2832 * j / 60
      x = size * cos(t) * (1 + 0.002 * size * (j % 3)) + 0.8 * (rand() - 0.5)
      y = size * 0.6 * sin(t) + 0.8 * (rand() - 0.5)
      z = size * 0.3 * sin(2 * t) + 0.8 * (rand() - 0.5)
      line = line sprintf("%.4f %.4f %.4f ", x, y, z)
    }
    print line size
  }
}' >"$work/large-data.txt"
replay large \
  "choose $work/large-data.txt" "press LoadDataButton" \
  "press UseCSButton" "press LnButton" "press GoRegress" "press AcceptStandard"
cp "$work/large/plot.png" "$out/plot-large.png"

echo "Screenshots written to $out"
