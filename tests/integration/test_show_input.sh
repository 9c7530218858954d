#!/usr/bin/env bash
# Input that ends the show: the back and forward mouse buttons; and on Linux a key while the
# scanner's error box is up (the scanner made to run out of memory while it walks), which must
# not hold the show: the program ends at once and the box goes with it.
source "$(dirname "$0")/lib.sh"

it_start_display 1024x768
it_prepare_environment

photos="$IT_WORK/photos"
mkdir -p "$photos"
key='HKCU\Control Panel\Screen Saver.Tovelin'
if [ "$IT_PLATFORM" = win32 ]; then
    winreg() { timeout 60 "$IT_ROOT/scripts/wine-run.sh" reg "$@" >/dev/null 2>&1; }
    winreg add "$key" /v PhotoDirectorys /t REG_SZ /d "Z:${photos//\//\\}" /f &&
        winreg add "$key" /v EnableMusic /t REG_DWORD /d 0 /f ||
        { fail "settings prepared in the Wine registry"; it_finish; }
    trap 'winreg delete "$key" /f; it_cleanup' EXIT
    export WINEDEBUG=-all,+debugstr
else
    mkdir -p "$XDG_CONFIG_HOME/tovelin"
    printf 'REGEDIT4\n\n[%s]\n"PhotoDirectorys"="%s"\n"EnableMusic"=dword:00000000\n' \
        "${key/HKCU/HKEY_CURRENT_USER}" "$photos" >"$XDG_CONFIG_HOME/tovelin/registry.reg"
fi

alive() { kill -0 "$IT_PID" 2>/dev/null; }
# ends_within SECONDS: true once the launched program has ended; it is killed otherwise.
ends_within() {
    local tries=0
    while alive && [ $tries -lt $(( $1 * 10 )) ]; do sleep 0.1; tries=$((tries + 1)); done
    if alive; then kill "$IT_PID" 2>/dev/null; it_wait; return 1; fi
    it_wait
}
show_window() { timeout 30 xdotool search --sync --onlyvisible --name '^tovelin$' 2>/dev/null | head -n 1; }

for button in 8 9; do
    it_launch /s
    if [ -z "$(show_window)" ] || ! it_wait_for_trace '^paintBoxPaint' 1 30; then
        fail "button $button: the show starts"
        alive && kill "$IT_PID"
        it_wait
        continue
    fi
    xdotool mousemove --sync 500 400 click "$button"
    check "mouse button $button ends the show" ends_within 10
    check "mouse button $button: status 0 (status $IT_STATUS)" [ "$IT_STATUS" -eq 0 ]
done

if [ "$IT_PLATFORM" = linux ]; then
    shim="$IT_RESULTS/tools/scanner_out_of_memory.so"
    mkdir -p "$IT_RESULTS/tools"
    g++ -shared -fPIC -O1 -o "$shim" "$IT_HERE/tools/scanner_out_of_memory.cpp" ||
        { fail "the out-of-memory shim builds"; it_finish; }
    # Enough photos for the walk to pause 100 ms after each of its sub-folders, so that it is still
    # walking when it fails.
    convert -size 64x48 xc:'#2864c8' "$photos/first.jpg"
    for i in $(seq 2 12); do cp "$photos/first.jpg" "$photos/photo$i.jpg"; done
    for i in $(seq 1 40); do mkdir -p "$IT_WORK/folders/folder$i"; done
    printf 'REGEDIT4\n\n[%s]\n"PhotoDirectorys"="%s|%s"\n"EnableMusic"=dword:00000000\n' \
        "${key/HKCU/HKEY_CURRENT_USER}" "$photos" "$IT_WORK/folders" >"$XDG_CONFIG_HOME/tovelin/registry.reg"
    LD_PRELOAD=$shim it_launch /s
    show=$(show_window)
    # The box has an empty caption: it is the program's other visible window.
    box="" tries=0
    while [ -z "$box" ] && [ $tries -lt 100 ] && alive; do
        box=$(xdotool search --onlyvisible --class '^tovelin$' 2>/dev/null | grep -vx "${show:-none}" | head -n 1)
        [ -z "$box" ] && sleep 0.1
        tries=$((tries + 1))
    done
    check "the scanner's failure box is up" [ -n "$box" ]
    check "the box names the failure" grep -q 'error occured when searching photo,reason=std::bad_alloc' "$IT_WORK/err"
    sleep 0.5
    it_screenshot linux-scanner-box
    if [ -n "$box" ]; then
        eval "$(xdotool getwindowgeometry --shell "$box")"
        centre=$(it_pixel linux-scanner-box $((X + WIDTH / 2)) $((Y + 4)))
        check "the box stands in front of the show (seen $centre at its top)" [ "${centre:-000000}" != 000000 ]
    fi
    [ -n "$show" ] && xdotool windowfocus --sync "$show" 2>/dev/null
    xdotool mousemove --sync 5 5 key x
    check "a key on the show ends it while the box is up" ends_within 5
    check "status 0 (status $IT_STATUS)" [ "$IT_STATUS" -eq 0 ]
fi
it_finish
