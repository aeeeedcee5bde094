#!/usr/bin/env bash
# The built program's options, with no display at all: each row is
# name | arguments | exit status | standard output | standard error,
# the outputs as extended regular expressions over the whole text ("" = empty).
# usage: command_line.sh [--launcher=wine] <qadrill> <version>
set -uo pipefail
LAUNCHER=""
case ${1:-} in --launcher=*) LAUNCHER=${1#--launcher=}; shift ;; esac
QADRILL=$1
VERSION=$2
usage="Usage: qadrill \[--help \| --version\]"

rows=(
    "version|--version|0|^qadrill ${VERSION//./\\.}\$|"
    "version_short|-v|0|^qadrill ${VERSION//./\\.}\$|"
    "help_lists_options|--help|0|four questions.*-h, --help.*-v, --version|"
    "help_short|-h|0|-v, --version|"
    "unknown_option|--bogus|2||^qadrill: Unknown option 'bogus'\. ${usage}\$"
    "stray_argument|notes.txt|2||^qadrill: Unexpected argument 'notes\.txt'\. ${usage}\$"
    "bare_separator|--|2||^qadrill: ${usage}\$"
)

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
