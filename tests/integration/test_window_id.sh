#!/usr/bin/env bash
# The show in a window of another program ("--window-id"), on Linux: a 320x240 window shows the
# photo fitted to it; grown to 640x480, the frame is drawn again at once for the new size and the
# next photo is fitted to it; SIGTERM ends the show with status 0 within a second; the
# window destroyed under the show ends it quietly; a 64x48 preview runs with its band clipped; a
# window that does not exist is a one-line error with status 0.
source "$(dirname "$0")/lib.sh"

if [ "$IT_PLATFORM" = win32 ]; then
    pass "showing in another program's window is a Linux feature: nothing to run under Wine"
    it_finish
fi

it_start_display 1024x768
it_prepare_environment

TOOL="$IT_RESULTS/tools/x_test_window"
mkdir -p "$IT_RESULTS/tools"
if [ ! -x "$TOOL" ] || [ "$IT_HERE/tools/x_test_window.c" -nt "$TOOL" ]; then
    cc -O1 -o "$TOOL" "$IT_HERE/tools/x_test_window.c" -lX11 || { fail "the test window tool builds"; it_finish; }
fi

# A 2:1 photo: fitted to 320x240 it is 320x160, into 640x480 it goes as it is (600x300).
photos="$IT_WORK/photos"
mkdir -p "$photos"
convert -size 600x300 xc:'#2864c8' -quality 95 "$photos/wide.jpg"
key='HKEY_CURRENT_USER\Control Panel\Screen Saver.Tovelin'
# store OVERLAY INTERVAL: the photo folder, INTERVAL ms apart, no music; the band and its lines on
# or off.
store() {
    mkdir -p "$XDG_CONFIG_HOME/tovelin"
    printf 'REGEDIT4\n\n[%s]\n"PhotoDirectorys"="%s"\n"ChangeInterval"=dword:%08x\n"EnableMusic"=dword:00000000\n"ShowCurrentFileInfo"=dword:%08x\n"ShowAllPhotoCount"=dword:%08x\n"ShowDateTime"=dword:%08x\n' \
        "$key" "$photos" "$2" "$1" "$1" "$1" >"$XDG_CONFIG_HOME/tovelin/registry.reg"
}

# The test window's place on the screen.
WX=100 WY=100
TOOL_PID=""
# open_window WIDTH HEIGHT: sets WINDOW (its id) and TOOL_PID.
open_window() {
    # The earlier window's id must not be taken for this one's before the tool has written it.
    rm -f "$IT_WORK/window"
    "$TOOL" $WX $WY "$1" "$2" >"$IT_WORK/window" &
    TOOL_PID=$!
    local tries=0
    while [ ! -s "$IT_WORK/window" ] && [ $tries -lt 100 ]; do sleep 0.05; tries=$((tries + 1)); done
    WINDOW=$(head -n 1 "$IT_WORK/window")
}
close_window() { [ -n "$TOOL_PID" ] && kill "$TOOL_PID" 2>/dev/null; wait "$TOOL_PID" 2>/dev/null; TOOL_PID=""; }
trap 'close_window; it_cleanup' EXIT

alive() { kill -0 "$IT_PID" 2>/dev/null; }
# The program itself, under the timeout that it_launch puts around it.
program_pid() { pgrep -P "$IT_PID" | head -n 1; }
# ends_within SECONDS: true once the launched program has ended (IT_STATUS set); killed otherwise.
ends_within() {
    local tries=0
    while alive && [ $tries -lt $(( $1 * 20 )) ]; do sleep 0.05; tries=$((tries + 1)); done
    if alive; then kill "$IT_PID" 2>/dev/null; it_wait; return 1; fi
    it_wait
}
# No warning, X error or sanitizer report in what the program wrote (the leak checker's
# summary of its suppressions is no report).
quiet_err() { ! grep -qE 'ERROR|WARNING|CRITICAL|runtime error|X Window System error|BadWindow' "$1"; }
# Colours of a screenshot's pixel, at a place in the test window.
at() { it_pixel "$1" $((WX + $2)) $((WY + $3)); }
blue() { local c=$1; [ $((16#${c:0:2})) -lt 80 ] && [ $((16#${c:4:2})) -gt 160 ]; }
black() { local c=$1; [ $((16#${c:0:2})) -lt 16 ] && [ $((16#${c:2:2})) -lt 16 ] && [ $((16#${c:4:2})) -lt 16 ]; }
steps() { it_trace | grep -c '^DrawScreen end'; }

# 320x240, then 640x480; the slides far enough apart for the standing frame to be seen.
store 0 3000
open_window 320 240
it_launch --window-id "$WINDOW"
if it_wait_for_trace '^DrawScreen end' 1 30; then
    sleep 0.3
    it_screenshot window_id_320x240
    check "320x240: the photo fills the window's width in the middle" blue "$(at window_id_320x240 160 120)"
    check "320x240: the photo's left edge reaches the window's" blue "$(at window_id_320x240 2 120)"
    check "320x240: black above the fitted photo" black "$(at window_id_320x240 160 20)"

    before=$(steps)
    kill -USR1 "$TOOL_PID"
    sleep 0.4
    it_screenshot window_id_640x480_standing
    # Unless the frame is drawn again for the new size, the gained area keeps the window's white.
    # (The window's exposure may already have started the next slide, as any paint does.)
    check "640x480: the gained area is the show's black at once" black "$(at window_id_640x480_standing 600 400)"
    check "640x480: the gained corner is the show's black at once" black "$(at window_id_640x480_standing 635 475)"
    if it_wait_for_trace '^DrawScreen end' $((before + 1)) 10; then
        sleep 0.3
        it_screenshot window_id_640x480_next
        check "640x480: the next photo is fitted to the new size (600x300 wide)" blue "$(at window_id_640x480_next 30 240)"
        check "640x480: black beside the next photo" black "$(at window_id_640x480_next 10 240)"
        check "640x480: black under the next photo" black "$(at window_id_640x480_next 320 400)"
    else
        fail "640x480: a slide step follows the resize"
    fi

    pid=$(program_pid)
    kill -TERM "$pid"
    if ends_within 1; then
        check "SIGTERM: the show ends with status 0 within a second" test "$IT_STATUS" -eq 0
    else
        fail "SIGTERM: the show ends with status 0 within a second"
    fi
    check "SIGTERM: no warning, error or sanitizer report on standard error" quiet_err "$IT_WORK/err"
else
    fail "320x240: the show draws a slide into the window"
    alive && kill "$IT_PID"
fi
close_window

# The window destroyed under the show.
open_window 320 240
it_launch --window-id "$WINDOW"
if it_wait_for_trace '^DrawScreen end' 1 30; then
    kill -USR2 "$TOOL_PID"
    if ends_within 2; then
        check "window destroyed: the show ends with status 0" test "$IT_STATUS" -eq 0
    else
        fail "window destroyed: the show ends with status 0"
    fi
    check "window destroyed: no warning, error or sanitizer report on standard error" quiet_err "$IT_WORK/err"
else
    fail "window destroyed: the show draws a slide first"
    alive && kill "$IT_PID"
fi
close_window

# A settings preview as small as they come, with the band on: it lies outside the window.
store 1 1000
for signal in INT HUP; do
    open_window 64 48
    it_launch -window-id "$WINDOW"
    if it_wait_for_trace '^DrawScreen end' 1 30; then
        sleep 1.2
        it_screenshot window_id_64x48
        check "64x48: the photo in the middle" blue "$(at window_id_64x48 32 24)"
        kill -"$signal" "$(program_pid)"
        ends_within 1 && [ "$IT_STATUS" -eq 0 ]
        check "64x48: SIG$signal ends the show with status 0 within a second" test $? -eq 0
    else
        fail "64x48: the show draws a slide into the window"
        alive && kill "$IT_PID"
    fi
    close_window
done

# No such window.
it_launch --window-id 0x7ffffff
ends_within 10
check "no such window: status 0" test "$IT_STATUS" -eq 0
check "no such window: one line on standard error" test "$(wc -l <"$IT_WORK/err")" -eq 1
check "no such window: the line says so" grep -q 'does not exist' "$IT_WORK/err"

it_finish
