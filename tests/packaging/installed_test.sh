#!/usr/bin/env bash
# Runs the programs of an installed Tarvolin as a user would:
#
#   bash tests/packaging/installed_test.sh PREFIX VERSION
#   bash tests/packaging/installed_test.sh --install BUILD_DIR VERSION
#
# The first form checks the tree under PREFIX (/usr of an unpacked package,
# say); the second installs BUILD_DIR into a new temporary prefix first.
# Both then copy the tree to a second prefix and check it there too: the
# programs must find their files relative to themselves. Each check that
# fails prints a line; the status is the number of failures (0: all pass).
set -uo pipefail

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if [ "${1:-}" = "--install" ]; then
  prefix=$work/installed
  cmake --install "$2" --prefix "$prefix" >"$work/install.log" 2>&1 ||
    { cat "$work/install.log"; echo "FAIL: cmake --install $2"; exit 1; }
  version=$3
else
  prefix=$(cd "$1" && pwd)
  version=$2
fi

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

check_prefix() {
  local p=$1 out
  out=$work/out-$(basename "$p")
  mkdir -p "$out"
  local cli=$p/bin/tarvolin-cli desktop=$p/bin/tarvolin examples=$p/share/tarvolin/examples

  [ "$("$cli" --version 2>&1)" = "tarvolin-cli $version" ] || fail "$cli --version"
  [ "$("$desktop" --version 2>&1)" = "tarvolin $version" ] || fail "$desktop --version"

  # The batch job on an installed example.
  if "$cli" standardize "$examples/skulls_zor.txt" --transform ln -o "$out/standardized.txt" \
    2>"$out/err"; then
    [ "$(wc -l <"$out/standardized.txt")" -eq 40 ] || fail "$p: 40 standardized specimens"
  else
    fail "$p: tarvolin-cli standardize: $(cat "$out/err")"
  fi

  # A picture from the command line, by the picture module beside it.
  "$cli" pca "$examples/skulls.csv" --groups "$examples/skulls_covariates.csv:group" \
    --plot "$out/morphospace.svg" >"$out/pca.txt" 2>"$out/err" ||
    fail "$p: tarvolin-cli pca --plot: $(cat "$out/err")"
  grep -q "<svg" "$out/morphospace.svg" 2>/dev/null || fail "$p: pca --plot drew no SVG picture"

  # A session script on the installed figure file, without a display.
  printf '%s\n' "choose $examples/skulls_zor.txt" "press LoadDataButton" \
    "press UseCSButton" "press LnButton" "press GoRegress" "press AcceptStandard" "choose $out/session.txt" \
    "press SaveStandard" >"$out/session-script.txt"
  "$cli" run "$out/session-script.txt" --strict >"$out/run.log" 2>&1 ||
    fail "$p: tarvolin-cli run: $(tail -n 3 "$out/run.log")"
  [ -s "$out/session.txt" ] || fail "$p: the session saved nothing"

  # The installed example scripts, run from a folder of the user's: their
  # data are found beside them, the results saved where the run started.
  for script in session3d session2d; do
    (cd "$out" && "$cli" run "$examples/$script.txt" --strict >"$out/$script.log" 2>&1) ||
      fail "$p: tarvolin-cli run $examples/$script.txt: $(tail -n 3 "$out/$script.log")"
    [ -s "$out/skulls_$script.txt" ] || fail "$p: $script.txt saved nothing in the current folder"
  done

  # The window, offscreen, opened from the installed figure file.
  printf '%s\n' "choose $examples/skulls_zor.txt" "press LoadDataButton" >"$out/window.txt"
  QT_QPA_PLATFORM=offscreen "$desktop" --run "$out/window.txt" --screenshots "$out/shots" \
    --strict >"$out/window.log" 2>&1 || fail "$p: tarvolin --run: $(tail -n 3 "$out/window.log")"
  [ -s "$out/shots/Tarvolin.png" ] || fail "$p: no picture of the main window"
  [ -s "$out/shots/plot.png" ] || fail "$p: no picture of the plot window"
}

[ -x "$prefix/bin/tarvolin-cli" ] || { echo "FAIL: no $prefix/bin/tarvolin-cli"; exit 1; }
check_prefix "$prefix"
cp -a "$prefix" "$work/moved"
check_prefix "$work/moved"
# Without its figure files the window says where it looked for them.
rm -r "$work/moved/share/tarvolin/figures"
printf 'press LoadDataButton\n' >"$work/nofigures.txt"
if QT_QPA_PLATFORM=offscreen "$work/moved/bin/tarvolin" --run "$work/nofigures.txt" --strict \
  >"$work/nofigures.log" 2>&1; then
  fail "the window opened without its figure files"
fi
grep -q "$work/moved/share/tarvolin/figures" "$work/nofigures.log" ||
  fail "the missing figure folder is not named: $(cat "$work/nofigures.log")"

[ "$failures" -eq 0 ] && echo "The installed programs work (from $prefix and from a copy)."
exit "$failures"
