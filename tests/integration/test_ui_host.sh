#!/usr/bin/env bash
# The OS's UI host end to end, through tests/ui_host_probe: a full-screen window showing a
# presented frame with drawn text, a timer tick, a task posted from a worker thread, a message
# box asked for by the worker and answered here, a key that ends a nested wait, and status 0.
source "$(dirname "$0")/lib.sh"

it_start_display 1024x768
it_prepare_environment

# wait_for_line PATTERN [SECONDS]: true once the probe has printed a line matching PATTERN.
wait_for_line() {
    local tries=0 limit=$(( ${2:-30} * 20 ))
    while ! tr -d '\r' <"$IT_WORK/out" | grep -q -- "$1"; do
        [ $tries -lt $limit ] || return 1
        sleep 0.05
        tries=$((tries + 1))
    done
}
printed() { tr -d '\r' <"$IT_WORK/out" | grep -q -- "$1"; }
pixel_at() { # pixel_at X Y: the screenshot's colour there as rrggbb
    convert "$IT_RESULTS/$IT_PLATFORM-ui-host.png" -format '%[hex:p{'"$1,$2"'}]' info: 2>/dev/null | cut -c1-6 | tr 'A-F' 'a-f'
}

it_launch
check "window opens at the screen's size" wait_for_line "window open 1024x768"
check "text drawn into the frame" wait_for_line 'text pixels [1-9][0-9]\{2,\}'
check "timer ticks" wait_for_line "timer 7 ticked"
check "task posted from a worker runs on the UI thread" wait_for_line "posted task ran on the UI thread: yes"

# The worker's box stands over the presented frame; look at both, then answer the box.
box=$(timeout 30 xdotool search --sync --onlyvisible --name '^Probe$' 2>/dev/null | head -n 1)
sleep 0.5
it_screenshot "$IT_PLATFORM-ui-host"
background=$(pixel_at 1000 700)
white=$(pixel_at 430 110)
centre=$(pixel_at 512 384)
check "frame on screen: background 3366cc at (1000,700) (seen $background)" [ "$background" = 3366cc ]
check "frame on screen: the text box is white at (430,110) (seen $white)" [ "$white" = ffffff ]
check "a worker's message box is shown" [ -n "$box" ]
check "the box stands over the full-screen window at the centre (seen $centre)" [ "${centre:-3366cc}" != 3366cc ]
if [ -n "$box" ]; then
    xdotool windowfocus --sync "$box" 2>/dev/null
    xdotool key --clearmodifiers Return
fi
check "the box's answer reaches the worker" wait_for_line "message box answered 1"

# A key during the nested wait ends it.
wait_for_line "waiting for a key"
window=$(xdotool search --onlyvisible --name '^ui_host_probe$' 2>/dev/null | head -n 1)
[ -n "$window" ] && xdotool windowfocus --sync "$window" 2>/dev/null
xdotool key --clearmodifiers x
check "a key reaches the window with its code" wait_for_line "key 88 shift=0 ctrl=0 alt=0" 10
check "the key ends the nested wait" wait_for_line "wait ended by a key" 10
it_wait
check "close query, close, then the loop ends" bash -c "tr -d '\r' <'$IT_WORK/out' | grep -A3 'close query' | tr '\n' '|' | grep -q 'close query|closed|close requested|loop ended'"
check "exit status 0 (status $IT_STATUS)" [ "$IT_STATUS" -eq 0 ]
it_finish
