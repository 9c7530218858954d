# Shared helpers for the integration tests. A test script sources this file with its three
# arguments: the program file, the OS it was built for (linux or win32) and the results folder.
# Each case ends in pass or fail; the lines go to <results>/integration-<script>.results.
set -u

IT_PROGRAM=$(readlink -f "$1")
IT_PLATFORM=$2
IT_RESULTS=$3
IT_NAME=$(basename "$0" .sh)
IT_HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
IT_ROOT=$(cd "$IT_HERE/../.." && pwd)
mkdir -p "$IT_RESULTS"
IT_WORK=$(mktemp -d "$IT_RESULTS/work-$IT_NAME.XXXXXX")
IT_RESULT_FILE="$IT_RESULTS/integration-$IT_NAME.results"
: > "$IT_RESULT_FILE"
IT_FAILED=0
IT_XVFB_PID=""

pass() { echo "PASS $IT_PLATFORM $*" | tee -a "$IT_RESULT_FILE"; }
fail() { echo "FAIL $IT_PLATFORM $*" | tee -a "$IT_RESULT_FILE"; IT_FAILED=1; }
check() { # check "description" command...
    local description=$1
    shift
    if "$@"; then pass "$description"; else fail "$description"; fi
}

it_cleanup() {
    [ -n "${IT_WATCH_PID:-}" ] && kill "$IT_WATCH_PID" 2>/dev/null
    [ -n "$IT_XVFB_PID" ] && kill "$IT_XVFB_PID" 2>/dev/null
    wait 2>/dev/null
}
trap it_cleanup EXIT

# A display of our own, so tests never see each other's windows.
it_start_display() {
    local size=${1:-1024x768}
    local fifo="$IT_WORK/display"
    Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$fifo" >"$IT_WORK/xvfb.log" 2>&1 &
    IT_XVFB_PID=$!
    local tries=0
    while [ ! -s "$fifo" ] && [ $tries -lt 100 ]; do sleep 0.05; tries=$((tries + 1)); done
    export DISPLAY=":$(head -n 1 "$fifo")"
}

# Tools the tests build for themselves: a watcher of mapped windows, and for Windows a probe
# that reads and answers message boxes.
it_build_tools() {
    IT_WATCH="$IT_RESULTS/tools/x_window_watch"
    mkdir -p "$IT_RESULTS/tools"
    if [ ! -x "$IT_WATCH" ]; then
        # Built aside and moved in: scenarios running side by side may build it at once.
        cc -O1 -o "$IT_WATCH.$$" "$IT_HERE/tools/x_window_watch.c" -lX11 && mv -f "$IT_WATCH.$$" "$IT_WATCH" || return 1
    fi
    if [ "$IT_PLATFORM" = win32 ]; then
        IT_PROBE="$IT_RESULTS/tools/dialog_probe.exe"
        if [ ! -f "$IT_PROBE" ]; then
            x86_64-w64-mingw32-gcc -O1 -o "$IT_PROBE.$$.exe" "$IT_HERE/tools/dialog_probe.c" &&
                mv -f "$IT_PROBE.$$.exe" "$IT_PROBE" || return 1
        fi
    fi
}

# Settings store and environment of the program: private for each test script.
it_prepare_environment() {
    export GSETTINGS_BACKEND=memory NO_AT_BRIDGE=1
    export XDG_CONFIG_HOME="$IT_WORK/config"
    mkdir -p "$XDG_CONFIG_HOME"
    if [ "$IT_PLATFORM" = win32 ]; then
        # The test runner shares one warm prefix; alone, a script makes its own.
        local wine_dir=${TOVELIN_WINE_DIR:-$IT_RESULTS/wine}
        # shellcheck source=/dev/null
        source "$IT_ROOT/scripts/wine-prefix.sh" "$wine_dir"
    fi
}

# The desktop's default handlers for folders, web pages and mail links (Linux): a recorder, so
# that what the program opens can be checked with it_opened_with. Call after
# it_prepare_environment.
it_record_opens() {
    IT_OPENED="$IT_WORK/opened"
    export XDG_DATA_HOME="$IT_WORK/data"
    mkdir -p "$XDG_DATA_HOME/applications"
    printf '#!/bin/sh\nprintf "%%s\\n" "$@" >>"%s"\n' "$IT_OPENED" >"$IT_WORK/record-open"
    chmod +x "$IT_WORK/record-open"
    local handled='inode/directory;text/html;x-scheme-handler/https;x-scheme-handler/mailto;' type
    cat >"$XDG_DATA_HOME/applications/tovelin-test-recorder.desktop" <<DESKTOP
[Desktop Entry]
Type=Application
Name=Recorder
Exec=$IT_WORK/record-open %u
MimeType=$handled
DESKTOP
    {
        echo '[Default Applications]'
        for type in ${handled//;/ }; do echo "$type=tovelin-test-recorder.desktop"; done
        echo '[Added Associations]'
        for type in ${handled//;/ }; do echo "$type=tovelin-test-recorder.desktop;"; done
    } >"$XDG_CONFIG_HOME/mimeapps.list"
}

# it_opened_with TEXT SECONDS: true once the recorder was handed TEXT (a local file as a path or
# as its file:// address).
it_opened_with() {
    local tries=0
    until sed 's|^file://||' "$IT_OPENED" 2>/dev/null | grep -qxF -- "$1"; do
        [ $tries -lt $(($2 * 10)) ] || return 1
        sleep 0.1
        tries=$((tries + 1))
    done
}

# Runs the program with a command line, in the background; sets IT_PID. The limit only stops a
# program that hangs: a long scenario on a busy machine needs well over a minute.
IT_PROGRAM_LIMIT=${IT_PROGRAM_LIMIT:-180}
it_launch() {
    if [ "$IT_PLATFORM" = win32 ]; then
        timeout "$IT_PROGRAM_LIMIT" "$IT_ROOT/scripts/wine-run.sh" "$IT_PROGRAM" "$@" >"$IT_WORK/out" 2>"$IT_WORK/err" &
    else
        timeout "$IT_PROGRAM_LIMIT" "$IT_PROGRAM" "$@" >"$IT_WORK/out" 2>"$IT_WORK/err" &
    fi
    IT_PID=$!
}

# Waits for the launched program; sets IT_STATUS.
it_wait() {
    wait "$IT_PID"
    IT_STATUS=$?
}

it_start_watch() {
    "$IT_WATCH" >"$IT_WORK/mapped" 2>/dev/null &
    IT_WATCH_PID=$!
    local tries=0
    while ! grep -q ready "$IT_WORK/mapped" 2>/dev/null && [ $tries -lt 100 ]; do sleep 0.05; tries=$((tries + 1)); done
}

it_stop_watch() {
    sleep 0.3
    kill "$IT_WATCH_PID" 2>/dev/null
    wait "$IT_WATCH_PID" 2>/dev/null
    IT_WATCH_PID=""
    grep '^mapped' "$IT_WORK/mapped" > "$IT_WORK/mapped.list" || true
}

it_screenshot() { import -window root "$IT_RESULTS/$1.png" 2>/dev/null || true; }

# it_pixel NAME X Y: the colour of screenshot NAME at X, Y as rrggbb.
it_pixel() {
    convert "$IT_RESULTS/$1.png" -format "%[hex:p{$2,$3}]" info: 2>/dev/null | cut -c1-6 | tr 'A-F' 'a-f'
}

# The launched program's trace messages so far, one a line, without their date and time: on
# Linux its standard error; under Wine the OutputDebugStringA lines that WINEDEBUG=+debugstr
# writes there, with Wine's escapes of "\" and '"' undone.
it_trace() {
    if [ "$IT_PLATFORM" = win32 ]; then
        tr -d '\r' <"$IT_WORK/err" | sed -n 's/^.*OutputDebugStringA "\(.*\)"$/\1/p' | sed 's/\\\([\\"]\)/\1/g'
    else
        cat "$IT_WORK/err"
    fi | awk '{ i = index($0, "  "); if (i) print substr($0, i + 2) }'
}

# it_wait_for_trace PATTERN COUNT SECONDS: true once COUNT trace messages match PATTERN (grep -E);
# false when the time is up or the launched program has ended without them.
it_wait_for_trace() {
    local tries=0 running=1
    while [ "$(it_trace | grep -cE -- "$1")" -lt "$2" ]; do
        [ $running -eq 1 ] && [ $tries -lt $(( $3 * 10 )) ] || return 1
        kill -0 "$IT_PID" 2>/dev/null || running=0 # one more look at what it wrote
        sleep 0.1
        tries=$((tries + 1))
    done
}

it_finish() { exit "$IT_FAILED"; }

# it_check_layout DIALOG SEEN_FILE BY: each control of the dialog's table (printed by
# $TOVELIN_LAYOUT_DUMP: config or about) against the controls seen in the real window. SEEN_FILE
# holds lines "KEY LEFT TOP WIDTH HEIGHT TEXT" (tab-separated, places in the client area): with
# BY=name, KEY is the control's name; with BY=place, a control is found by its place and text
# (a panel, which is painted, is then not looked for). The place must be the table's; a control
# may be cut to the client area, and a label or a control whose text the program sets may grow
# wider for its text (GTK never cuts a label's text: "Support Email:" takes 70 pixels of 68).
it_check_layout() {
    local dialog=$1 seen=$2 by=$3 verdict name detail
    local dump=("${TOVELIN_LAYOUT_DUMP:-}")
    [ "$IT_PLATFORM" = win32 ] && dump=(timeout 60 "$IT_ROOT/scripts/wine-run.sh" "${TOVELIN_LAYOUT_DUMP:-}")
    if [ ! -f "${TOVELIN_LAYOUT_DUMP:-}" ]; then
        fail "the table of the dialogs can be printed (TOVELIN_LAYOUT_DUMP='${TOVELIN_LAYOUT_DUMP:-}')"
        return
    fi
    while IFS=$'\t' read -r verdict name detail; do
        if [ "$verdict" = ok ]; then pass "$dialog: $name is at its place with its text ($detail)"
        else fail "$dialog: $name is at its place with its text ($detail)"; fi
    done < <("${dump[@]}" 2>/dev/null | tr -d '\r' | awk -F'\t' -v dialog="$dialog" -v by="$by" -v seen="$seen" '
        BEGIN { while ((getline line < seen) > 0) { sub(/\r$/, "", line); lines[++n] = line } }
        $1 == "window" && $2 == dialog { cw = $4; ch = $5 }
        $1 != "control" || $2 != dialog { next }
        by == "place" && $4 == "panel" { next }
        {
            name = $3; kind = $4; x = $5; y = $6; w = $7; h = $8; text = $9
            cut = (x + w > cw) ? cw - x : w
            found = ""
            for (i = 1; i <= n; ++i) {
                split(lines[i], s, "\t")
                if (by == "name" && s[1] != name) continue
                if (s[2] != x || s[3] != y || s[5] != h) continue
                if (!(s[4] == w || s[4] == cut || ((text == "-" || kind == "label") && s[4] > w))) continue
                if (text != "-" && s[6] != text) continue
                found = lines[i]
                break
            }
            if (found != "") { print "ok\t" name "\t" x "," y " " w "x" h (text == "-" ? "" : " \"" text "\"") }
            else {
                near = "nothing"
                for (i = 1; i <= n; ++i) { split(lines[i], s, "\t"); if (s[1] == name || (s[2] == x && s[3] == y)) near = lines[i] }
                gsub(/\t/, " ", near)
                print "bad\t" name "\texpected " x "," y " " w "x" h (text == "-" ? "" : " \"" text "\"") ", seen " near
            }
        }')
}
