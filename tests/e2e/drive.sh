# Shared steps for driving the real program under Xvfb as a student would.
# Sourced by the end-to-end tests; every wait is bounded, by far more than a
# busy machine needs: the bound only catches a program that never answers.
# A check reads a command's whole output before it matches: under pipefail,
# "producer | grep -q" fails when grep stops reading first.

set -euo pipefail

E2E_TIMEOUT=${E2E_TIMEOUT:-60}
# What starts the program: nothing for a native one, "wine" for the .exe.
LAUNCHER=${LAUNCHER:-}
# The client area at 96 dpi; a window that draws its own frame inside the
# X window (Wine without a window manager) puts it below the title bar.
FORM_WIDTH=725
FORM_HEIGHT=573

# A failure shows what the program itself said last.
fail() {
    echo "FAIL: $*" >&2
    [ -s "${WORK:-}/app.log" ] && tail -n 20 "$WORK/app.log" | sed 's/^/  program: /' >&2
    exit 1
}

# Starts a private X server and a private home; sets DISPLAY and HOME.  The
# screen is a small laptop's unless SCREEN_SIZE says otherwise.
start_desktop() {
    unset DISPLAY
    WORK=$(mktemp -d)
    export HOME="$WORK/home"
    mkdir -p "$HOME"
    # The journal's state folder goes with the private home too.
    unset XDG_STATE_HOME
    # The server picks a free display itself and names it only once it takes
    # connections, so a desktop still closing or another suite's display is
    # never mistaken for ours.
    Xvfb -displayfd 3 -screen 0 "${SCREEN_SIZE:-1024x768}x24" -dpi 96 -nolisten tcp 3>"$WORK/display" >"$WORK/xvfb.log" 2>&1 &
    XVFB_PID=$!
    for _ in $(seq $((E2E_TIMEOUT * 10))); do
        [ -s "$WORK/display" ] && { export DISPLAY=":$(head -n 1 "$WORK/display")"; break; }
        kill -0 "$XVFB_PID" 2>/dev/null || break
        sleep 0.1
    done
    [ -n "${DISPLAY:-}" ] || fail "Xvfb did not start: $(cat "$WORK/xvfb.log")"
    trap stop_desktop EXIT
    [ "$LAUNCHER" = wine ] && make_wine_prefix
    return 0
}

# A fresh Wine prefix in the work folder, made without a display.  Without a
# window manager Wine must manage its windows itself (Managed=N), or it waits
# on every hidden window.
# INSTALLED_PREFIX names a prefix the program was installed into instead.
make_wine_prefix() {
    export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    if [ -n "${INSTALLED_PREFIX:-}" ]; then
        export WINEPREFIX=$INSTALLED_PREFIX
        return 0
    fi
    export WINEPREFIX="$WORK/wine"
    env -u DISPLAY wineboot -i >/dev/null 2>&1 || fail "wineboot failed"
    env -u DISPLAY wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 ||
        fail "the Wine prefix takes no settings"
    env -u DISPLAY wineserver -w
}

# The student's data folder as the program sees it: c:\plovenda under Wine.
data_dir() {
    if [ "$LAUNCHER" = wine ]; then echo "$WINEPREFIX/drive_c/plovenda"; else echo "$HOME/plovenda"; fi
}

stop_desktop() {
    [ -n "${APP_PID:-}" ] && kill "$APP_PID" 2>/dev/null || true
    [ -n "${WINEPREFIX:-}" ] && wineserver -k 2>/dev/null || true
    # The server is gone before the next suite starts its own.
    kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null || true
    [ -n "${KEEP_WORK:-}" ] || rm -rf "$WORK"
}

# The arguments, if any, go to the program.
start_drill() {
    $LAUNCHER "$QADRILL" "$@" >"$WORK/app.log" 2>&1 &
    APP_PID=$!
}

# Whether the window is on screen.
viewable() {
    local info
    info=$(xwininfo -id "$1" 2>/dev/null) || return 1
    [[ $info == *IsViewable* ]]
}

# Waits for a visible window with this exact title; prints its id.
wait_window() {
    local title=$1 id=""
    for _ in $(seq $((E2E_TIMEOUT * 10))); do
        for id in $(xwininfo -root -tree 2>/dev/null | sed -nE "s/^ +(0x[0-9a-f]+) \"${title}\":.*/\1/p"); do
            viewable "$id" && { echo "$id"; return; }
        done
        sleep 0.1
    done
    fail "no window titled '$title' appeared"
}

# Answers the prompt on screen: types the text, presses Enter.
answer_prompt() {
    local id
    id=$(wait_window "Q&A Drill")
    xdotool windowfocus --sync "$id"
    sleep 0.2
    [ -n "$1" ] && xdotool type --delay 15 "$1"
    xdotool key Return
    wait_gone "$id"
}

# The four start-up prompts as the student in the golden logs answers them:
# home user, Ann Lee Smith, als, and the given assignment.
answer_startup() {
    answer_prompt 1
    answer_prompt "Ann Lee Smith"
    answer_prompt als
    answer_prompt "$1"
}

# Waits until a window is no longer on screen, so the next step cannot type
# into a dialog that is just closing.
wait_gone() {
    for _ in $(seq $((E2E_TIMEOUT * 10))); do
        viewable "$1" || return 0
        sleep 0.1
    done
    fail "window $1 did not close"
}

# The message boxes' title, the program's name on both front ends.
REPORT_TITLE="Q&A Drill"

# Waits for the next message box and prints its text; the desktop platform
# repeats every report on standard error, one line each.
REPORTS_SEEN=0
next_report() {
    local id line=""
    id=$(wait_window "$REPORT_TITLE")
    xdotool windowfocus --sync "$id" || true
    for _ in $(seq $((E2E_TIMEOUT * 10))); do
        line=$(grep '^qadrill: ' "$WORK/app.log" | sed -n "$((REPORTS_SEEN + 1))p")
        [ -n "$line" ] && break
        sleep 0.1
    done
    [ -n "$line" ] || fail "no report was shown"
    echo "${line#qadrill: }"
}

# Presses OK on the message box on screen and waits for it to close.
press_ok() {
    local id
    id=$(wait_window "$REPORT_TITLE")
    xdotool windowfocus --sync "$id" || true
    xdotool key Return
    wait_gone "$id"
}

# The client area's offset inside the X window: "x y".
client_offset() {
    local width height
    width=$(xwininfo -id "$1" | sed -nE 's/^ +Width: ([0-9]+)/\1/p')
    height=$(xwininfo -id "$1" | sed -nE 's/^ +Height: ([0-9]+)/\1/p')
    local side=$(((width - FORM_WIDTH) / 2))
    echo "$side $((height - FORM_HEIGHT - side))"
}

# Clicks the centre of a control given by its twip rectangle.
click_twips() {
    local win=$1 left=$2 top=$3 width=$4 height=$5 offset
    read -r -a offset <<<"$(client_offset "$win")"
    xdotool mousemove --window "$win" $((offset[0] + (left + width / 2) / 15)) $((offset[1] + (top + height / 2) / 15)) \
        click 1
    sleep 0.4
}

wait_exit() {
    local status=0
    for _ in $(seq $((E2E_TIMEOUT * 10))); do
        kill -0 "$APP_PID" 2>/dev/null || { wait "$APP_PID" || status=$?; APP_PID=""; return $status; }
        sleep 0.1
    done
    fail "the program did not end"
}

# Masks what changes from run to run: dates, times and, in a log that starts
# with a header block (second argument "header"), its code line.
mask_log() {
    local args=(-e 's/[0-9]{2}-[0-9]{2}-[0-9]{4}/mm-dd-yyyy/g' -e 's/[0-9]{2}:[0-9]{2}:[0-9]{2}/hh:mm:ss/g')
    [ "${2:-}" = header ] && args=(-e '1s/^.*\r$/<code line>\r/' "${args[@]}")
    LC_ALL=C sed -E "${args[@]}" "$1"
}
