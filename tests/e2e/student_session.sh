#!/usr/bin/env bash
# A student's session with the real program under Xvfb: the four prompts,
# two questions, a response, a note, both displays, a held Enter and a
# response by keyboard only, quit; then the three logs
# compared byte for byte (times, dates and the code line masked); a picture
# through the clipboard, which the X side still offers afterwards.
# usage: student_session.sh [--launcher=wine] <qadrill> <golden dir> <artifact dir>
LAUNCHER=""
case ${1:-} in --launcher=*) LAUNCHER=${1#--launcher=}; shift ;; esac
QADRILL=$1
GOLDEN=$2
ARTIFACTS=$3
source "$(dirname "$0")/drive.sh"

# "log file:golden file:kind" -> golden file
golden_of() { local rest=${1#*:}; echo "${rest%%:*}"; }

start_desktop
start_drill
answer_startup 1

win=$(wait_window Form1)
click_twips "$win" 240 0 975 735            # Next Question / Answer
click_twips "$win" 5640 720 5055 5255       # into the answer box
xdotool type --delay 15 "Speed is 3 m/s."
xdotool key Return
xdotool type --delay 15 "Units check."
click_twips "$win" 5640 240 855 495         # Enter Response
click_twips "$win" 240 0 975 735            # the next question
click_twips "$win" 5640 720 5055 5255
xdotool type --delay 15 "Check the units first."
click_twips "$win" 6480 240 855 495         # Save as Notes
click_twips "$win" 4440 240 975 495         # display notes
click_twips "$win" 3600 240 855 495         # display everything

# By keyboard: a held Enter on "Next Question / Answer" reads one question,
# a second Enter another, which puts the instruction text into the answer
# box; Shift+Tab into the box and typing replaces the instruction; Enter on
# "Enter Response" records just what was typed.
click_twips "$win" 240 720 5175 5255        # into the question box
xdotool key Tab Tab                         # the answer box, Next Question / Answer
xdotool keydown Return; sleep 1.2; xdotool keyup Return
sleep 0.3
xdotool key Return
sleep 0.3
xdotool key shift+Tab
xdotool type --delay 15 "Units check by keys."
xdotool key Tab Tab                         # Next Question / Answer, Enter Response
xdotool key Return
sleep 0.3

# A red picture from another program comes through "copy picture" into Picture2.
convert -size 40x20 xc:"#ff0000" "BMP3:$WORK/red.bmp"
xclip -quiet -selection clipboard -t image/bmp -i "$WORK/red.bmp" >/dev/null 2>&1 &
XCLIP_PID=$!
clipboard_offers_bmp() {
    local targets
    targets=$(xclip -selection clipboard -o -t TARGETS 2>/dev/null) || return 1
    grep -qx image/bmp <<<"$targets"
}
for _ in $(seq $((E2E_TIMEOUT * 10))); do clipboard_offers_bmp && break; sleep 0.1; done
clipboard_offers_bmp || fail "xclip did not take the clipboard"
click_twips "$win" 1200 8160 855 495        # copy picture
mkdir -p "$ARTIFACTS"
read -r -a offset <<<"$(client_offset "$win")"
geometry=$(xwininfo -id "$win" | sed -nE 's/^ +Absolute upper-left X: +([0-9]+)/\1/p;s/^ +Absolute upper-left Y: +([0-9]+)/\1/p' |
           paste -sd' ')
read -r wx wy <<<"$geometry"
# The picture shows once the program has drawn it; a busy machine may take a while.
picture2_pixel() {
    local text
    import -window root "$ARTIFACTS/student_session.png"
    text=$(convert "$ARTIFACTS/student_session.png" \
           -crop "1x1+$((wx + offset[0] + 5640 / 15 + 10))+$((wy + offset[1] + 6080 / 15 + 8))" -depth 8 txt:-)
    sed -n 's/.*\(#[0-9A-F]\{6\}\).*/\1/p' <<<"$text" | sed -n 1p
}
for _ in $(seq "$E2E_TIMEOUT"); do
    pixel=$(picture2_pixel)
    [ "$pixel" = "#FF0000" ] && break
    sleep 1
done
[ "$pixel" = "#FF0000" ] || fail "Picture2 shows $pixel, not the clipboard's red picture"
clipboard_offers_bmp || fail "the clipboard no longer offers the picture"
kill "$XCLIP_PID" 2>/dev/null || true
click_twips "$win" 10200 0 735 495          # quit program
wait_exit || fail "quit ended with status $?"

dir=$(data_dir)
today=$(date +%m%d)
logs=("masterFile_Ann_Lee_Smith.txt:master.txt:header" "send_${today}Ann_Lee_Smith.txt:send.txt:header"
      "notes_Ann_Lee_Smith.txt:notes.txt:")
for log in "${logs[@]}"; do
    [ -f "$dir/${log%%:*}" ] || fail "missing log ${log%%:*}"
    cp "$dir/${log%%:*}" "$ARTIFACTS/"
    # UPDATE_GOLDEN=1 rewrites the golden files; read them as bytes before committing.
    [ -n "${UPDATE_GOLDEN:-}" ] && mask_log "$dir/${log%%:*}" "${log##*:}" >"$GOLDEN/$(golden_of "$log")"
done
for log in "${logs[@]}"; do
    if ! cmp -s <(mask_log "$dir/${log%%:*}" "${log##*:}") "$GOLDEN/$(golden_of "$log")"; then
        diff <(mask_log "$dir/${log%%:*}" "${log##*:}" | od -c) <(od -c "$GOLDEN/$(golden_of "$log")") | head -20 >&2
        fail "${log%%:*} differs from $(golden_of "$log")"
    fi
done
# Beside the logs only their journal, and nothing set aside; all of them the
# student's alone.  Wine shows a file's rights to the host as mode bits, and
# the user's own as the user's and the group's.
extra=$(ls -A "$dir" | grep -v -x -e "masterFile_Ann_Lee_Smith.txt" -e "send_${today}Ann_Lee_Smith.txt" \
        -e "notes_Ann_Lee_Smith.txt" -e "masterFile_Ann_Lee_Smith.txt.journal" || true)
[ -z "$extra" ] || fail "the data folder holds more than the logs and their journal: $extra"
others=077
[ "$LAUNCHER" = wine ] && others=007
shared=$(find "$dir" -type f -perm /$others -printf "%m %p\n")
[ -z "$shared" ] || fail "others may read or write: $shared"
echo "student session: logs match, screenshot in $ARTIFACTS"
