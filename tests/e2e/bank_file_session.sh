#!/usr/bin/env bash
# A session over the sample bank file's second assignment in the real
# program: each of its three problems answered as it comes; the second press
# of Next Question steps over the "graph1" routine line to the next problem,
# and the press after the last problem reaches "exitprog", which ends the
# program.  The logs then hold that assignment's title line and its three
# records, compared byte for byte (times, dates and the code line masked).
# OPEN_BANK=1 opens the bank file as a double click would, through the
# association the installer wrote (Wine's "start"), instead of --bank.
# usage: bank_file_session.sh [--launcher=wine] <qadrill> <sample bank> <golden dir> <artifact dir>
LAUNCHER=""
case ${1:-} in --launcher=*) LAUNCHER=${1#--launcher=}; shift ;; esac
QADRILL=$1
SAMPLE=$2
GOLDEN=$3
ARTIFACTS=$4
source "$(dirname "$0")/drive.sh"

answers=("9.8, 19.6 and 29.4 m/s; 44.1 m in all." "The slope is 9.8 m/s^2; the area is the distance." "2 s, 19.6 m high.")
start_desktop
if [ -n "${OPEN_BANK:-}" ]; then
    # Waits for the program the association starts and ends with its status.
    wine start /wait /unix "$SAMPLE" >"$WORK/app.log" 2>&1 &
    APP_PID=$!
else
    start_drill --bank "$SAMPLE"
fi
answer_startup 2
win=$(wait_window Form1)
mkdir -p "$ARTIFACTS"
for i in "${!answers[@]}"; do
    click_twips "$win" 240 0 975 735        # Next Question / Answer
    click_twips "$win" 5640 720 5055 5255   # into the answer box
    xdotool type --delay 15 "${answers[$i]}"
    # The problem after the routine line, with its answer typed; the pause
    # only lets a slow window repaint before the picture is taken.
    if [ "$i" -eq 1 ]; then
        sleep 5
        import -window root "$ARTIFACTS/bank_file_session${LAUNCHER:+_$LAUNCHER}.png"
    fi
    click_twips "$win" 5640 240 855 495     # Enter Response
done
click_twips "$win" 240 0 975 735            # the routine line "exitprog"
wait_exit || fail "exitprog ended the program with status $?"

dir=$(data_dir)
logs=("masterFile_Ann_Lee_Smith.txt:master.txt" "send_$(date +%m%d)Ann_Lee_Smith.txt:send.txt")
for log in "${logs[@]}"; do
    name=${log%%:*}
    golden=$GOLDEN/${log#*:}
    [ -f "$dir/$name" ] || fail "missing log $name"
    cp "$dir/$name" "$ARTIFACTS/bank_file_$name"
    # UPDATE_GOLDEN=1 rewrites the golden files; read them as bytes before committing.
    [ -n "${UPDATE_GOLDEN:-}" ] && mkdir -p "$GOLDEN" && mask_log "$dir/$name" header >"$golden"
    if ! cmp -s <(mask_log "$dir/$name" header) "$golden"; then
        diff <(mask_log "$dir/$name" header | od -c) <(od -c "$golden") | head -20 >&2
        fail "$name differs from $golden"
    fi
done
# Beside the logs only their journal.
extra=$(ls -A "$dir" | grep -v -x -e "${logs[0]%%:*}" -e "${logs[1]%%:*}" -e "masterFile_Ann_Lee_Smith.txt.journal" ||
        true)
[ -z "$extra" ] || fail "the data folder holds more than the two logs and their journal: $extra"
echo "bank file session: the routine line stepped over, exitprog ended the drill, logs match"
