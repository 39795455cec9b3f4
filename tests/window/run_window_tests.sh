#!/usr/bin/env bash
# Runs the built program in a real window on a virtual X server (Xvfb) and checks what a person
# would see and do: the box on screen, keys, a window-manager close, and the fallback without a
# display. Usage: run_window_tests.sh PATH_TO_OSTREL SCENARIO
#   SCENARIO: normal | other_keys | focus_loss | no_display
# Each scenario works in its own temporary folder and starts its own X server (on a display number
# the server picks itself, so scenarios may run side by side); everything started is ended on exit.
# Exit status 77 (skipped) when a tool a scenario needs is not installed.
set -euo pipefail

readonly SKIPPED=77
readonly DESKTOP_WIDTH=1024 DESKTOP_HEIGHT=768

if [[ $# -ne 2 ]]; then
    echo "usage: $0 PATH_TO_OSTREL SCENARIO" >&2
    exit 2
fi
program=$(realpath "$1")
scenario=$2
# A sanitised build still reports memory errors here, but not leaks: the system libraries behind
# SDL's video (D-Bus) keep allocations to the end that the unwinder cannot attribute, so not even a
# suppression can name them. The program's own leaks are the headless process tests' business.
# Appended, so that it wins over a detect_leaks=1 set for the whole suite.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"

work=$(mktemp -d "${TMPDIR:-/tmp}/ostrel-window.XXXXXX")
started_pids=()
failed=0

# A child that has ended stays a zombie until waited for, and kill -0 still succeeds on it.
is_running() {
    local stat
    stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 1
    stat=${stat##*) } # the state follows the command name, which may itself hold ") "
    [[ $stat != Z* ]]
}

# Ends a started process and waits for it: TERM, up to 5 s, then KILL.
stop_process() {
    local pid=$1 tries
    kill "$pid" 2>/dev/null || true
    for ((tries = 0; tries < 50; tries++)); do
        is_running "$pid" || break
        sleep 0.1
    done
    kill -KILL "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
}

# Newest first: the program before its window manager, both before the X server they talk to.
cleanup() {
    local status=$? index
    [[ $status -eq 0 || $status -eq $SKIPPED ]] || failed=1
    for ((index = ${#started_pids[@]} - 1; index >= 0; index--)); do
        stop_process "${started_pids[index]}"
    done
    if [[ $failed -ne 0 ]]; then
        for file in "$work"/run/log.txt "$work"/stderr.txt "$work"/xvfb.txt "$work"/openbox.txt; do
            [[ -f $file ]] && { echo "--- $(basename "$file"):"; cat "$file"; }
        done
    fi
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    failed=1
    echo "FAIL [$scenario]: $*" >&2
    exit 1
}

require_tools() {
    local tool
    for tool in "$@"; do
        if ! command -v "$tool" >/dev/null 2>&1; then
            echo "SKIP [$scenario]: $tool is not installed" >&2
            exit "$SKIPPED"
        fi
    done
}

# The user's own settings must not steer the run: the platform's variables and SDL's driver choice.
clear_settings() {
    local name
    for name in $(compgen -e); do
        case $name in OSTREL_* | SDL_VIDEODRIVER | SDL_RENDER_DRIVER) unset "$name" ;; esac
    done
}

# Starts Xvfb on a display number it chooses (-displayfd) and exports DISPLAY once it is ready.
start_display() {
    Xvfb -displayfd 3 -screen 0 "${DESKTOP_WIDTH}x${DESKTOP_HEIGHT}x24" -nolisten tcp \
        3>"$work/display_number" >"$work/xvfb.txt" 2>&1 &
    started_pids+=($!)
    local tries
    for ((tries = 0; tries < 100; tries++)); do
        if [[ -s $work/display_number ]]; then
            DISPLAY=":$(head -n1 "$work/display_number")"
            export DISPLAY
            unset WAYLAND_DISPLAY
            return
        fi
        sleep 0.1
    done
    fail "Xvfb did not start"
}

start_window_manager() {
    openbox >"$work/openbox.txt" 2>&1 &
    started_pids+=($!)
    local tries
    for ((tries = 0; tries < 100; tries++)); do
        wmctrl -m >/dev/null 2>&1 && return
        sleep 0.1
    done
    fail "openbox did not start"
}

# Runs the program in $work/run with stderr in $work/stderr.txt; sets program_pid.
start_program() {
    mkdir -p "$work/run"
    (cd "$work/run" && exec "$@" "$program" 2>"$work/stderr.txt") &
    program_pid=$!
    started_pids+=("$program_pid")
}

# Polls (at most 20 s) for a shown window matching xdotool search's arguments. Polling rather than
# --sync: a window that vanishes mid-search makes xdotool fail with BadWindow.
wait_for_shown_window() {
    local tries
    for ((tries = 0; tries < 200; tries++)); do
        xdotool search --onlyvisible "$@" >/dev/null 2>&1 && return
        sleep 0.1
    done
    fail "no window matching '$*' was shown within 20 s"
}

# Until the window is shown: it exists hidden from its creation, before the device is made.
wait_for_window() {
    wait_for_shown_window --name '^Ostrel$'
}

# Waits (at most $1 seconds) for the program to end; its exit status in program_status.
wait_for_exit() {
    local deadline=$((SECONDS + $1))
    while is_running "$program_pid"; do
        ((SECONDS < deadline)) || fail "the program was still running after $1 s"
        sleep 0.1
    done
    program_status=0
    wait "$program_pid" || program_status=$?
}

expect_exit_zero() {
    [[ $program_status -eq 0 ]] || fail "exit status $program_status, expected 0"
}

# The whole screen in $work/shot.png.
take_screenshot() {
    import -window root "$work/shot.png" 2>/dev/null || xwd -root -silent | convert xwd:- "$work/shot.png"
}

# A screenshot once pixel ($1, $2) is no longer black: a slow machine (or a sanitised build) may
# take a while over its first frames. Gives up after 10 s and leaves the last screenshot.
screenshot_once_drawn() {
    local tries red green blue
    for ((tries = 0; tries < 20; tries++)); do
        take_screenshot
        read -r red green blue < <(pixel_at "$1" "$2") || true
        ((${red:-0} + ${green:-0} + ${blue:-0} > 0)) && return
        sleep 0.5
    done
}

# "R G B" of a screen pixel, 0–255 each.
pixel_at() {
    convert "$work/shot.png" -crop "1x1+$1+$2" +repage -depth 8 \
        -format '%[fx:int(255*r+0.5)] %[fx:int(255*g+0.5)] %[fx:int(255*b+0.5)]\n' info:
}

# expect_pixel X Y KIND: KIND black, lit (any colour clearly not black), or the channel that must
# dominate (red, green, blue). Tolerances are generous: the face is shaded and filtered.
expect_pixel() {
    local x=$1 y=$2 kind=$3 red green blue
    read -r red green blue < <(pixel_at "$x" "$y") || fail "cannot read pixel ($x, $y) of the screenshot"
    local ok=0
    case $kind in
    black) ((red <= 24 && green <= 24 && blue <= 24)) && ok=1 ;;
    lit) ((red + green + blue >= 96)) && ok=1 ;;
    red) ((red >= 96 && red > green + 40 && red > blue + 40)) && ok=1 ;;
    green) ((green >= 96 && green > red + 40 && green > blue + 40)) && ok=1 ;;
    blue) ((blue >= 96 && blue > red + 40 && blue > green + 40)) && ok=1 ;;
    esac
    ((ok)) || fail "pixel ($x, $y) is ($red, $green, $blue), expected $kind"
}

# The log without the carriage returns a text-mode stream may add, in $work/log.txt.
read_log() {
    [[ -f $work/run/log.txt ]] || fail "no log.txt"
    tr -d '\r' <"$work/run/log.txt" >"$work/log.txt"
}

# The number on a detail line ("<tab>NAME: NUMBER"); NAME is matched literally.
log_number() {
    awk -v name="$(printf '\t%s: ' "$1")" 'index($0, name) == 1 { print substr($0, length(name) + 1); exit }' \
        "$work/log.txt"
}

# The start-up lines of a successful run and a complete statistics block.
expect_successful_log() {
    read_log
    local log=$work/log.txt tab=$'\t'
    grep -qxF 'InitialiseD3D Started...' "$log" || fail "log.txt lacks the start headline"
    grep -qxE "${tab}800 x 600 x (32|16)bit back buffer format selected\. Format = [0-9]+\." "$log" ||
        fail "log.txt lacks the back-buffer line"
    grep -qxE "${tab}(32|24|16)bit depth buffer selected" "$log" || fail "log.txt lacks the depth-buffer line"
    grep -qxF 'InitialiseD3D Finished OK' "$log" || fail "log.txt lacks the finish headline"
    grep -qxF 'Statistics:' "$log" || fail "log.txt lacks the statistics block"
    local entry
    for entry in "Start Time (ms)" "End Time (ms)" "Duration (s)" "Total Frame Count" "Average FPS"; do
        [[ $(log_number "$entry") =~ ^-?[0-9]+$ ]] || fail "log.txt lacks the \"$entry\" line"
    done
}

# Frames per second over the whole run, from the log's exact times rather than its whole-second
# average (a two-second run's average is off by up to half). Sets frame_rate.
measure_frame_rate() {
    local start end frames elapsed_ms
    start=$(log_number 'Start Time (ms)')
    end=$(log_number 'End Time (ms)')
    frames=$(log_number 'Total Frame Count')
    elapsed_ms=$(((end - start) & 0xFFFFFFFF)) # timeGetTime wraps at 2^32
    ((elapsed_ms > 0)) || fail "the run took no time"
    frame_rate=$((frames * 1000 / elapsed_ms))
}

scenario_normal() {
    require_tools Xvfb xdotool convert
    start_display
    start_program env
    wait_for_window
    sleep 1
    screenshot_once_drawn 512 384

    # 800×600 on 1024×768 is ×1.28 with no bars: the near face (x 350–450, y 262–338 of the frame)
    # covers about x 448–577, y 335–433 of the screen.
    expect_pixel 512 384 lit
    expect_pixel 458 345 blue  # upper left
    expect_pixel 567 345 red   # upper right
    expect_pixel 458 423 red   # lower left
    expect_pixel 567 423 green # lower right
    expect_pixel 430 384 black # left of the face
    expect_pixel 512 318 black # above it
    expect_pixel 595 450 black # beyond its lower-right corner
    expect_pixel 5 5 black     # the screen's corner: the frame fills it, black there

    # A few more seconds of frames, so that the first frames' one-off costs (shaders, textures)
    # weigh little in the frame rate.
    sleep 2
    xdotool keydown Escape
    xdotool keyup Escape
    wait_for_exit 10
    expect_exit_zero
    expect_successful_log
    [[ ! -s $work/stderr.txt ]] || fail "stderr is not empty"
    measure_frame_rate
    ((frame_rate >= 50 && frame_rate <= 70)) ||
        fail "$frame_rate frames per second, expected the display's 60 (50–70)"
    echo "normal: $frame_rate frames per second"
}

scenario_other_keys() {
    require_tools Xvfb xdotool openbox wmctrl
    start_display
    start_window_manager
    start_program env
    wait_for_window
    sleep 0.5
    # Only releasing Escape ends a run: other keys, a release without a press and a held Escape do not.
    xdotool key space
    xdotool keyup a
    xdotool keydown Escape
    sleep 1
    is_running "$program_pid" || fail "the program ended before its window was closed"

    wmctrl -c Ostrel # the window manager's close, as its close button or Alt+F4 does
    wait_for_exit 10
    expect_exit_zero
    expect_successful_log
}

scenario_focus_loss() {
    require_tools Xvfb xdotool openbox wmctrl xclock
    start_display
    start_window_manager
    start_program env
    wait_for_window
    xclock >/dev/null 2>&1 &
    started_pids+=($!)
    wait_for_shown_window --class xclock
    sleep 0.5
    # Escape held while another window takes the keyboard (as after Alt+Tab): its release goes to
    # that window, so the program neither ends nor stops drawing.
    xdotool keydown Escape
    local other
    other=$(xdotool search --onlyvisible --class xclock | head -n1)
    xdotool windowfocus --sync "$other"
    sleep 0.5
    xdotool keyup Escape
    sleep 1
    is_running "$program_pid" || fail "the program ended when it lost the focus"

    wmctrl -c Ostrel
    wait_for_exit 10
    expect_exit_zero
    expect_successful_log
    measure_frame_rate
    # Frames that stopped while the window was in the background would leave well under half the rate.
    ((frame_rate >= 30)) || fail "$frame_rate frames per second: drawing stopped without the focus"
    echo "focus_loss: $frame_rate frames per second"
}

scenario_no_display() {
    start_program env -u DISPLAY -u WAYLAND_DISPLAY OSTREL_INPUT=30:up:ESCAPE
    wait_for_exit 30
    expect_exit_zero
    expect_successful_log
    local lines
    lines=$(wc -l <"$work/stderr.txt")
    [[ $lines -eq 1 ]] || fail "stderr holds $lines lines, expected the one fallback line"
    grep -q "headless" "$work/stderr.txt" || fail "stderr does not say it runs headless: $(cat "$work/stderr.txt")"
    local frames
    frames=$(log_number 'Total Frame Count')
    ((frames >= 30)) || fail "$frames frames, expected at least the 30 before Escape"
}

clear_settings
case $scenario in
normal) scenario_normal ;;
other_keys) scenario_other_keys ;;
focus_loss) scenario_focus_loss ;;
no_display) scenario_no_display ;;
*) fail "unknown scenario" ;;
esac
echo "PASS [$scenario]"
