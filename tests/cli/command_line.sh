#!/usr/bin/env bash
# The built program's options, with no display at all: each row is
# name | arguments | exit status | standard output | standard error,
# the outputs as extended regular expressions over the whole text ("" = empty).
# usage: command_line.sh [--launcher=wine] <qadrill> <version> <sample bank> <folder of faulty banks>
set -uo pipefail
LAUNCHER=""
case ${1:-} in --launcher=*) LAUNCHER=${1#--launcher=}; shift ;; esac
QADRILL=$1
VERSION=$2
SAMPLE=$3
FAULTY=$4
usage="Usage: qadrill \[--bank FILE \| --check-bank FILE \| --help \| --version\]"
# A path as a pattern that matches only itself.
literal() { sed 's/[]*.^$()+?{}|[\\]/\\&/g' <<<"$1"; }
sample=$(literal "$SAMPLE")
faulty=$(literal "$FAULTY")

rows=(
    "version|--version|0|^qadrill ${VERSION//./\\.}\$|"
    "version_short|-v|0|^qadrill ${VERSION//./\\.}\$|"
    "help_lists_options|--help|0|four questions.*-h, --help.*-v, --version|"
    "help_short|-h|0|-v, --version|"
    "unknown_option|--bogus|2||^qadrill: Unknown option 'bogus'\. ${usage}\$"
    "stray_argument|notes.txt|2||^qadrill: Unexpected argument 'notes\.txt'\. ${usage}\$"
    "bare_separator|--|2||^qadrill: ${usage}\$"
    "check_bank_sample|--check-bank $SAMPLE|0|^${sample}: 2 assignments in 33 entries \
assignment 001, line 1: 001\.  Day 9 quiz   10 problems; routines: none; \
ends at the next assignment's title line \(line 23\) \
assignment 002, line 23: 002\.  Day 10 quiz   3 problems; routines: graph1, exitprog; \
ends at the routine exitprog \(line 33\)\$|"
    "check_bank_not_utf8|--check-bank=$FAULTY/latin1.qabank|1||\
^qadrill: ${faulty}/latin1\.qabank: line 5: bytes that are not UTF-8 at byte 3 of the line\$"
    "check_bank_no_title|--check-bank $FAULTY/no_title.qabank|1||\
^qadrill: ${faulty}/no_title\.qabank: line 1: no assignment title line in the whole file"
    "check_bank_missing_file|--check-bank $FAULTY/none.qabank|1||^qadrill: ${faulty}/none\.qabank: [A-Z]"
    "check_bank_without_file|--check-bank|2||^qadrill: Option 'check-bank' needs a file name\. ${usage}\$"
    "bank_and_check_bank|--bank $SAMPLE --check-bank $SAMPLE|2||^qadrill: Give --bank or --check-bank, not both\. "
)
# --bank alone is how the menu entry starts the drill with no bank file: the
# built-in bank, so it goes on to need a display (which only Linux checks).
[ -z "$LAUNCHER" ] && rows+=("bank_without_file_as_the_menu_starts_it|--bank|2||^qadrill: a graphical display is needed")

failures=0
for row in "${rows[@]}"; do
    IFS='|' read -r name args status out err <<<"$row"
    stdout=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM $LAUNCHER "$QADRILL" $args 2>"${TMPDIR:-/tmp}/cli_err.$$")
    got=$?
    stderr=$(cat "${TMPDIR:-/tmp}/cli_err.$$")
    # A Windows console ends its lines with CR LF.
    if [ "$LAUNCHER" = wine ]; then stdout=${stdout//$'\r'/}; stderr=${stderr//$'\r'/}; fi
    rm -f "${TMPDIR:-/tmp}/cli_err.$$"
    problems=()
    [ "$got" = "$status" ] || problems+=("status $got, expected $status")
    if [ -z "$out" ]; then
        [ -z "$stdout" ] || problems+=("unexpected standard output: $stdout")
    else
        grep -qE -- "$out" <<<"${stdout//$'\n'/ }" || problems+=("standard output: $stdout")
    fi
    if [ -z "$err" ]; then
        [ -z "$stderr" ] || problems+=("unexpected standard error: $stderr")
    else
        [ "$(wc -l <<<"$stderr")" -eq 1 ] && grep -qE -- "$err" <<<"$stderr" || problems+=("standard error: $stderr")
    fi
    if [ "${#problems[@]}" -gt 0 ]; then
        printf 'FAIL %s (%s): %s\n' "$name" "$args" "${problems[*]}" >&2
        failures=$((failures + 1))
    fi
done
[ "$failures" -eq 0 ] || exit 1
echo "command line: ${#rows[@]} rows pass without a display"
