#!/bin/bash
# Tests the bash completion of tarvolin-cli, without bash-completion loaded.
#
#   bash tests/packaging/completion_test.sh COMPLETION_FILE CLI
#
# Completes a table of command lines and checks what is offered, then checks
# the completion against the program itself: every subcommand of `CLI --help`
# and every option of `CLI SUB --help` must be offered, and an option's fixed
# choices must be the ones its help lists. Prints each failing case; exit 0
# when all pass, 1 otherwise.

if [[ $# -ne 2 ]]; then
    echo "usage: $0 COMPLETION_FILE CLI" >&2
    exit 2
fi
completion=$1
cli=$2
# shellcheck source=/dev/null
source "$completion" || exit 1

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# What the completion offers for LINE, the cursor at its end, one per line,
# sorted. The words are split as bash splits them (at blanks, and "=" as a
# word of its own).
offered() {
    local line=$1 split=${1//=/ = }
    local -a COMP_WORDS
    read -ra COMP_WORDS <<<"$split"
    [[ $line == *" " ]] && COMP_WORDS+=("")
    local COMP_CWORD=$((${#COMP_WORDS[@]} - 1)) COMP_LINE=$line COMP_POINT=${#line}
    local COMPREPLY=()
    _tarvolin_cli tarvolin-cli "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    printf '%s\n' "${COMPREPLY[@]}" | sed '/^$/d' | sort
}

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
touch "$tmp/skulls.tps" "$tmp/other.csv"
mkdir "$tmp/shots"

# LINE | how | WORDS: "is" the offer is exactly WORDS, "has" it holds each of
# them, "lacks" it holds none of them.
cases=(
    "tarvolin-cli |is|info check superimpose standardize allometry pca convert run"
    "tarvolin-cli pca FILE --of |is|superimposed standardized"
    "tarvolin-cli pca --|lacks|--keep-size --interaction --permutations --strict"
    "tarvolin-cli pca f --plot $tmp/o|is|$tmp/other.csv"
    "tarvolin-cli ch|is|check"
    "tarvolin-cli st|is|standardize"
    "tarvolin-cli --|is|--help --version"
    "tarvolin-cli standardize --tr|is|--transform"
    "tarvolin-cli standardize --transform |is|none ln log10"
    "tarvolin-cli standardize f --transform l|is|ln log10"
    "tarvolin-cli standardize f --transform=|is|none ln log10"
    "tarvolin-cli convert FILE --to |is|zor csv tps nts morphologika"
    "tarvolin-cli convert FILE --to=n|is|nts"
    "tarvolin-cli info FILE --format |is|zor tps nts morphologika csv fcsv mrkjson"
    "tarvolin-cli info FILE --dim |is|2 3"
    "tarvolin-cli convert FILE --scale |is|apply ignore"
    "tarvolin-cli info FILE --gpa |is|three converged"
    "tarvolin-cli convert FILE --missing |has|keep refuse estimate"
    "tarvolin-cli superimpose FILE --missing |lacks|keep"
    "tarvolin-cli standardize FILE --standard |is|"
    "tarvolin-cli standardize FILE --x c|has|cs"
    "tarvolin-cli info --|lacks|--to --output --transform --x --strict --interaction"
    "tarvolin-cli standardize --|lacks|--interaction --json --permutations --strict"
    "tarvolin-cli run --|lacks|--format --to --missing"
    "tarvolin-cli allometry --|lacks|--to --standard --keep-size"
    "tarvolin-cli convert --|lacks|--gpa --x --groups"
    "tarvolin-cli check --|lacks|--to --transform --standard --interaction --permutations"
    "tarvolin-cli check f --x $tmp/o|is|$tmp/other.csv"
    "tarvolin-cli info $tmp/sk|is|$tmp/skulls.tps"
    "tarvolin-cli standardize f -o $tmp/o|is|$tmp/other.csv"
    "tarvolin-cli allometry f --groups $tmp/o|is|$tmp/other.csv"
    "tarvolin-cli run s --figures $tmp/|is|$tmp/shots"
)
for case in "${cases[@]}"; do
    IFS='|' read -r line how words <<<"$case"
    got=$(offered "$line")
    case $how in
        is)
            read -ra expected <<<"$words"
            want=$(printf '%s\n' "${expected[@]}" | sed '/^$/d' | sort)
            [[ $got == "$want" ]] || fail "\"$line\": offers [${got//$'\n'/ }], not [$words]"
            ;;
        has)
            read -ra expected <<<"$words"
            for w in "${expected[@]}"; do
                grep -qx -- "$w" <<<"$got" || fail "\"$line\": does not offer $w"
            done
            ;;
        lacks)
            read -ra expected <<<"$words"
            for w in "${expected[@]}"; do
                grep -qx -- "$w" <<<"$got" && fail "\"$line\": offers $w"
            done
            ;;
    esac
done

# Against the program: its subcommands, their options and the options' choices.
subcommands=$("$cli" --help | sed -n '/^Subcommands:/,$p' | awk '/^  [a-z]/ {print $1}')
[[ -n $subcommands ]] || fail "$cli --help lists no subcommand"
for sub in $subcommands; do
    grep -qx -- "$sub" <<<"$(offered "tarvolin-cli ")" || fail "subcommand $sub is not offered"
    help=$("$cli" "$sub" --help) || fail "$cli $sub --help failed"
    options=$(offered "tarvolin-cli $sub -")
    # Option lines are indented by two blanks: "  -o,--output TEXT ...".
    for option in $(awk '/^  -/ {print $1}' <<<"$help" | tr ',' ' '); do
        grep -qx -- "$option" <<<"$options" || fail "$sub: $option is not offered"
    done
    # Fixed choices: "  --to TEXT:{zor,csv,...}".
    while read -r option choices; do
        want=$(tr ',' '\n' <<<"$choices" | sort)
        got=$(offered "tarvolin-cli $sub FILE $option ")
        [[ $got == "$want" ]] ||
            fail "$sub $option: offers [${got//$'\n'/ }], --help lists [${choices//,/ }]"
    done < <(sed -n 's/^  \(-[-a-z]*\) [A-Z]*:{\([^}]*\)}.*/\1 \2/p' <<<"$help")
done

if ((failures > 0)); then
    echo "$failures failing case(s)"
    exit 1
fi
echo "completion: all cases pass"
