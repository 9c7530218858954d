#!/usr/bin/env bash
# The show as an XScreenSaver display mode, with the real daemon: its only program is
# "tovelin --root". Activated, the daemon's window shows the photo; deactivated, the program ends
# with status 0 within two seconds and the daemon's log has no complaint about it. The daemon
# refuses to run as root: as root the scenario runs it as an ordinary user of its own.
source "$(dirname "$0")/lib.sh"

if [ "$IT_PLATFORM" = win32 ]; then
    pass "XScreenSaver is a Linux daemon: nothing to run under Wine"
    it_finish
fi
if ! command -v xscreensaver >/dev/null || ! command -v xscreensaver-command >/dev/null; then
    fail "the xscreensaver package is installed (scripts/install-deps.sh)"
    it_finish
fi

it_start_display 1024x768

# Everything the daemon's user reads lies in a folder of its own: the program, the photos, the
# settings store and the daemon's settings.
XSS_DIR=$(mktemp -d /tmp/tovelin-xscreensaver.XXXXXX)
chmod 755 "$XSS_DIR"
DAEMON_PID=""
as_user() { "$@"; }
if [ "$(id -u)" -eq 0 ]; then
    XSS_USER=tovelinxss
    if ! id "$XSS_USER" >/dev/null 2>&1; then
        useradd --system --no-create-home --home-dir "$XSS_DIR" --shell /usr/sbin/nologin "$XSS_USER" ||
            { fail "an ordinary user for the daemon is made"; it_finish; }
    fi
    as_user() { runuser -u "$XSS_USER" -- "$@"; }
fi
xss_env=(env HOME="$XSS_DIR" DISPLAY="$DISPLAY" XDG_CONFIG_HOME="$XSS_DIR/config" GSETTINGS_BACKEND=memory NO_AT_BRIDGE=1)
command_daemon() { as_user timeout 20 "${xss_env[@]}" xscreensaver-command "$@" >>"$XSS_DIR/command.log" 2>&1; }
xss_cleanup() {
    if [ -n "$DAEMON_PID" ]; then
        command_daemon -exit
        kill "$DAEMON_PID" 2>/dev/null
        wait "$DAEMON_PID" 2>/dev/null
    fi
    cp "$XSS_DIR"/*.log "$XSS_DIR"/hack.* "$IT_WORK/" 2>/dev/null
    rm -rf "$XSS_DIR"
    it_cleanup
}
trap xss_cleanup EXIT

cp "$IT_PROGRAM" "$XSS_DIR/tovelin"
mkdir -p "$XSS_DIR/photos" "$XSS_DIR/config/tovelin"
convert -size 600x300 xc:'#2864c8' -quality 95 "$XSS_DIR/photos/wide.jpg"
printf 'REGEDIT4\n\n[%s]\n"PhotoDirectorys"="%s"\n"ChangeInterval"=dword:000003e8\n"EnableMusic"=dword:00000000\n' \
    'HKEY_CURRENT_USER\Control Panel\Screen Saver.Tovelin' "$XSS_DIR/photos" >"$XSS_DIR/config/tovelin/registry.reg"
# The daemon's program: the show, its status written down when it ends. The daemon's SIGTERM
# reaches the wrapper, which hands it on and waits for the show's own status.
cat >"$XSS_DIR/tovelin-hack" <<HACK
#!/bin/bash
"$XSS_DIR/tovelin" "\$@" 2>>"$XSS_DIR/hack.err" &
child=\$!
trap 'kill -TERM \$child 2>/dev/null; signalled=1' TERM INT HUP
wait \$child
status=\$?
if [ -n "\${signalled:-}" ]; then wait \$child; status=\$?; fi
echo "\$status" >"$XSS_DIR/hack.status"
exit \$status
HACK
chmod 755 "$XSS_DIR/tovelin-hack"
cat >"$XSS_DIR/.xscreensaver" <<CONFIG
mode: one
selected: 0
lock: False
splash: False
fade: False
unfade: False
timeout: 1:00:00
programs: $XSS_DIR/tovelin-hack --root
CONFIG
[ "$(id -u)" -eq 0 ] && chown -R "$XSS_USER" "$XSS_DIR"

as_user "${xss_env[@]}" xscreensaver -no-splash -verbose >"$XSS_DIR/daemon.log" 2>&1 &
DAEMON_PID=$!
tries=0
while ! grep -q 'running in process' "$XSS_DIR/daemon.log" 2>/dev/null && [ $tries -lt 100 ]; do sleep 0.1; tries=$((tries + 1)); done
check "the daemon runs" grep -q 'running in process' "$XSS_DIR/daemon.log"

command_daemon -activate
# The show's first slide has been drawn.
tries=0
while ! grep -q 'DrawScreen end' "$XSS_DIR/hack.err" 2>/dev/null && [ $tries -lt 300 ]; do sleep 0.1; tries=$((tries + 1)); done
check "activated: the daemon started the show, which drew a slide" grep -q 'DrawScreen end' "$XSS_DIR/hack.err"
sleep 0.3
it_screenshot xscreensaver_show
colour() { it_pixel xscreensaver_show "$1" "$2"; }
blue() { local c=$1; [ $((16#${c:0:2})) -lt 80 ] && [ $((16#${c:4:2})) -gt 160 ]; }
check "activated: the photo (600x300) stands in the middle of the daemon's window" blue "$(colour 512 300)"
check "activated: the photo's left edge is where the show centres it" blue "$(colour 215 300)"
check "activated: black beside the photo" test "$(colour 205 300)" = 000000
check "activated: the band is blended near the bottom" test "$(colour 900 640)" != 000000

command_daemon -deactivate
tries=0
while [ ! -s "$XSS_DIR/hack.status" ] && [ $tries -lt 20 ]; do sleep 0.1; tries=$((tries + 1)); done
check "deactivated: the show has ended within two seconds" test -s "$XSS_DIR/hack.status"
check "deactivated: with status 0" test "$(cat "$XSS_DIR/hack.status" 2>/dev/null)" = 0
check "deactivated: no warning, error or sanitizer report from the show" \
    bash -c '! grep -qE "ERROR|WARNING|CRITICAL|runtime error|X Window System error|BadWindow" "$1"' - "$XSS_DIR/hack.err"

# The daemon names the program's process when it starts it; a complaint would name it again.
hack_pid=$(sed -n 's/.*forked ".*tovelin-hack --root" in pid \([0-9]*\).*/\1/p' "$XSS_DIR/daemon.log" | head -n 1)
check "the daemon started the program as its display mode" test -n "$hack_pid"
complaints=$(grep -E "pid ${hack_pid:-none}[^0-9]|abnormally|crashed|core dumped" "$XSS_DIR/daemon.log" |
    grep -v -e "killing pid ${hack_pid:-none}[^0-9]" -e "forked .* in pid ${hack_pid:-none}[^0-9]")
check "the daemon's log has no complaint about the program" test -z "$complaints"
[ -n "$complaints" ] && echo "$complaints"

it_finish
