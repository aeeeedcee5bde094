#!/usr/bin/env bash
# The start-up reports as a student meets them in the real program:
#  - assignment 9 is not in the bank: the error-9 report, the program ends
#    after OK and no header is written;
#  - an empty first answer: the general report ending in 13, no further
#    prompt, then the error-9 report of the failed assignment search;
#  - a bank file that is not UTF-8: the general report ending in 13 with the
#    file and line as its detail, before any prompt; status 1, nothing written.
# usage: startup_errors.sh <qadrill> <folder of faulty banks>
QADRILL=$1
FAULTY=$2
source "$(dirname "$0")/drive.sh"

subscript="You have probably not entered a valid assignment number.  Make sure the assignment number is a number, like 1 or 8 or 15 or 27 etc., and make sure that this assignment is supposed to be in the current kel_.  This program will end and you will need to start over.  If you are sure you have entered a valid assignment number email the instructor and specify that you have received a 'subscript out of range' error"
general="You have encountered an error.  If you are encountering this error repeatedly you should report the error number to the instructor and explain exactly what you were doing, keystroke by keystroke, when the error occurred.  The error is:  "

start_desktop

# Assignment 9.
start_drill
answer_startup 9
text=$(next_report)
REPORTS_SEEN=$((REPORTS_SEEN + 1))
grep -qxF -- "$subscript" <<<"$text" || fail "error-9 report not shown exactly: $text"
press_ok
wait_exit || fail "ended with status $?"
[ ! -e "$HOME/plovenda/masterFile_Ann_Lee_Smith.txt" ] || fail "a master log was created"
[ -z "$(ls -A "$HOME/plovenda")" ] || fail "something was written: $(ls "$HOME/plovenda")"

# Empty first answer.
REPORTS_SEEN=0
start_drill
answer_prompt ""
text=$(next_report)
REPORTS_SEEN=$((REPORTS_SEEN + 1))
grep -qxF -- "${general}13" <<<"$text" || fail "general report with 13 not shown: $text"
press_ok
sleep 0.5
text=$(next_report)
REPORTS_SEEN=$((REPORTS_SEEN + 1))
grep -qxF -- "$subscript" <<<"$text" || fail "expected the error-9 report next, not a prompt: $text"
press_ok
wait_exit || fail "ended with status $?"

# A bank file the drill cannot use.
REPORTS_SEEN=0
rm -rf "$HOME/plovenda"
start_drill --bank "$FAULTY/latin1.qabank"
text=$(next_report)
expected="${general}13 ($FAULTY/latin1.qabank: line 5: bytes that are not UTF-8 at byte 3 of the line)"
grep -qxF -- "$expected" <<<"$text" || fail "refused bank not reported with its file and line: $text"
press_ok
status=0
wait_exit || status=$?
[ "$status" -eq 1 ] || fail "a refused bank ended with status $status"
[ ! -e "$HOME/plovenda" ] || fail "a refused bank still wrote: $(ls -A "$HOME/plovenda")"

# No display at all: one plain line, a non-zero status, no core dump.
set +e
out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$QADRILL" 2>&1)
status=$?
set -e
[ "$status" -ne 0 ] && [ "$status" -lt 128 ] || fail "without a display the status was $status"
[ "$(wc -l <<<"$out")" -eq 1 ] && grep -q "graphical display" <<<"$out" || fail "without a display it said: $out"
echo "start-up errors: reports exact, program ended, nothing written"
