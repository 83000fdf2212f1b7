#!/bin/bash
# Tests the manual pages tarvolin(1) and tarvolin-cli(1) as configured.
#
#   bash tests/packaging/manpages_test.sh MANDIR CLI
#
# MANDIR holds tarvolin.1 and tarvolin-cli.1. Checks that groff renders both
# without a warning, that the version in their .TH lines is the one
# `CLI --version` prints, and that tarvolin-cli.1 documents every subcommand
# of `CLI --help` and every option of `CLI SUB --help` (an option added
# without documentation fails). Prints a line per failure; exit 0 when all
# pass, 1 otherwise.

if [[ $# -ne 2 ]]; then
    echo "usage: $0 MANDIR CLI" >&2
    exit 2
fi
mandir=$1
cli=$2

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

if ! command -v groff >/dev/null; then
    echo "FAIL: groff is not installed; the manual pages cannot be checked"
    exit 1
fi

version=$("$cli" --version | awk '{print $NF}')
[[ -n $version ]] || fail "$cli --version prints no version"

for page in tarvolin.1 tarvolin-cli.1; do
    file=$mandir/$page
    if [[ ! -f $file ]]; then
        fail "$file does not exist"
        continue
    fi
    warnings=$(groff -man -ww -z -Tutf8 "$file" 2>&1)
    [[ -z $warnings ]] || fail "$page: groff warns: $warnings"
    # .TH NAME 1 DATE "Tarvolin VERSION" "User Commands"
    th=$(grep -m1 '^\.TH ' "$file")
    [[ $th == *"\"Tarvolin $version\""* ]] ||
        fail "$page: .TH does not name version $version: $th"
    grep -q '@[A-Z_]*@' "$file" && fail "$page: holds a placeholder not configured"
done

# The text of tarvolin-cli.1 with troff's escapes for - and for nothing undone.
climan=$mandir/tarvolin-cli.1
if [[ -f $climan ]]; then
    text=$(sed -e 's/\\-/-/g' -e 's/\\&//g' "$climan")
    # Does the page name WORD, not as part of a longer one?
    documented() {
        grep -qE -- "(^|[^-[:alnum:]])$1([^-[:alnum:]]|$)" <<<"$text"
    }
    subcommands=$("$cli" --help | sed -n '/^Subcommands:/,$p' | awk '/^  [a-z]/ {print $1}')
    [[ -n $subcommands ]] || fail "$cli --help lists no subcommand"
    for sub in $subcommands; do
        grep -qxE "\.B $sub" <<<"$text" || fail "tarvolin-cli.1: subcommand $sub is not described"
        help=$("$cli" "$sub" --help) || {
            fail "$cli $sub --help failed"
            continue
        }
        # Option lines are indented by two blanks: "  -o,--output TEXT ...".
        for option in $(awk '/^  -/ {print $1}' <<<"$help" | tr ',' ' '); do
            documented "$option" || fail "tarvolin-cli.1: $sub option $option is not documented"
        done
    done
fi

if ((failures > 0)); then
    echo "$failures failing check(s)"
    exit 1
fi
echo "manual pages: all checks pass"
