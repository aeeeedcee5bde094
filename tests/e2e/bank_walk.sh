#!/usr/bin/env bash
# Walks the built-in bank in the real window: each problem is recorded as it
# comes (an empty response records the question line), so the master log shows
# the ten problems in order; the click after the tenth ends with the error-9
# report and the program ends after OK.
# usage: bank_walk.sh <qadrill>
QADRILL=$1
source "$(dirname "$0")/drive.sh"

openings=(
    "On a certain island live an immortal race of 1000 non-reproducing people."
    "If you do a three-step random walk then at what displacements"
    "Suppose we have a long row of trees with 100 bugs"
    "Assuming that the water exiting your container was filling a tube"
    "Suppose that the temperature of a certain object in a room"
    "There are 5 Christmas trees in a circle."
    "Sketch a trapezoidal graph of y = x^2 + 10 for x"
    "Make a sequence of the ratios of the sequence 1, 2, 3,"
    "Sketch a trapezoidal graph of y = 4 + 1.2 ^ x"
    "When a pendulum is at displacement x from its equilibrium position,"
)

start_desktop
start_drill
answer_startup 1
win=$(wait_window Form1)
for _ in "${openings[@]}"; do
    click_twips "$win" 240 0 975 735        # Next Question / Answer
    click_twips "$win" 5640 240 855 495     # Enter Response, answer box empty
done
click_twips "$win" 240 0 975 735            # past the last problem
report=$(next_report)
[[ "$report" == "You have probably not entered a valid assignment number."* ]] || fail "expected the error-9 report: $report"
press_ok
wait_exit || fail "ended with status $?"

# The question line of each response record follows its question-number line.
mapfile -t asked < <(LC_ALL=C awk '/^`questionNumber /{getline; print}' "$HOME/plovenda/masterFile_Ann_Lee_Smith.txt")
[ "${#asked[@]}" -eq 10 ] || fail "expected 10 recorded problems, found ${#asked[@]}"
for i in "${!openings[@]}"; do
    [[ "${asked[$i]}" == "${openings[$i]}"* ]] || fail "problem $((i + 1)) out of order: ${asked[$i]:0:60}"
done
echo "bank walk: ten problems in order, then the error-9 report"
