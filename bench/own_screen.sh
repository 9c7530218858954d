# Sourced by the bench scripts: a virtual screen of their own, on the first free display from :90.
# start_screen WxH starts Xvfb, exports DISPLAY and sets SCREEN_PID; stop_screen ends it.
SCREEN_PID=
start_screen() {
    local display
    for display in $(seq 90 140); do
        [[ -e /tmp/.X11-unix/X$display || -e /tmp/.X$display-lock ]] || break
    done
    Xvfb ":$display" -screen 0 "${1}x24" -nolisten tcp >/dev/null 2>&1 &
    SCREEN_PID=$!
    for _ in $(seq 50); do
        [[ -e /tmp/.X11-unix/X$display ]] && break
        sleep 0.1
    done
    export DISPLAY=":$display"
}
stop_screen() {
    [[ -n $SCREEN_PID ]] || return 0
    kill "$SCREEN_PID" 2>/dev/null || true
    wait "$SCREEN_PID" 2>/dev/null || true
    SCREEN_PID=
}
