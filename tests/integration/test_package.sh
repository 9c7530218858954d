#!/usr/bin/env bash
# The Debian package end to end: the build's package target makes it; dpkg installs it; the
# program is on the PATH, its manual page is found, its desktop entry and metainfo validate,
# lintian reports no error, "tovelin /c" opens the dialog whose Help Content opens the installed
# overview page; dpkg removes and purges it, and none of its files is left. Linux only. Needs
# root (or sudo without a password), as CI has on its throwaway machines; a tovelin package
# that was installed before is left alone.
#   test_package.sh PROGRAM PLATFORM RESULTS BUILD_DIR
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
build_dir=${4:-}

if [ "$IT_PLATFORM" != linux ]; then
    echo "the Debian package is made by the Linux build only: nothing to test for $IT_PLATFORM"
    it_finish
fi

SUDO=()
if [ "$(id -u)" -ne 0 ]; then
    if ! sudo -n true 2>/dev/null; then
        fail "the package test runs as root or with sudo without a password"
        it_finish
    fi
    SUDO=(sudo -n)
fi
# dpkg as root, its output kept in the work folder.
run_dpkg() { "${SUDO[@]}" dpkg "$@" >>"$IT_WORK/dpkg.log" 2>&1; }
if dpkg-query -W -f='${Status}' tovelin 2>/dev/null | grep -qv 'not-installed'; then
    fail "no tovelin package is installed before the test (dpkg: $(dpkg-query -W -f='${Status}' tovelin))"
    it_finish
fi

# Whatever happens, the package does not stay behind.
installed=0
package_cleanup() {
    if [ $installed -eq 1 ]; then
        run_dpkg --purge tovelin
    fi
    it_cleanup
}
trap package_cleanup EXIT
trap 'exit 1' INT TERM HUP

check "the package target makes the package" \
    bash -c "cmake --build '$build_dir' --target package >'$IT_WORK/package.log' 2>&1"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build_dir/CMakeCache.txt")
deb="$build_dir/tovelin_${version}_$(dpkg --print-architecture).deb"
check "the package is named tovelin_<version>_<arch>.deb ($(basename "$deb"))" test -f "$deb"
[ -f "$deb" ] || it_finish

field() { dpkg-deb -f "$deb" "$1"; }
check "Depends names the shared libraries' packages ($(field Depends))" \
    bash -c "dpkg-deb -f '$deb' Depends | grep -q 'libgtk-3-0' && dpkg-deb -f '$deb' Depends | grep -q 'libgstreamer1.0-0'"
recommends=$(field Recommends)
for plugins in gstreamer1.0-plugins-good gstreamer1.0-plugins-ugly gstreamer1.0-plugins-bad gstreamer1.0-libav; do
    check "Recommends $plugins" grep -qw -- "$plugins" <<<"$recommends"
done
check "Suggests xscreensaver ($(field Suggests))" test "$(field Suggests)" = xscreensaver
check "the packed program is stripped" bash -c "dpkg-deb --fsys-tarfile '$deb' | tar -xO ./usr/bin/tovelin | file - | grep -q ', stripped'"

lintian --tag-display-limit 0 "$deb" >"$IT_RESULTS/lintian.txt" 2>&1
check "lintian reports no error ($(grep -c '^E:' "$IT_RESULTS/lintian.txt") in lintian.txt)" \
    bash -c "! grep -q '^E:' '$IT_RESULTS/lintian.txt'"

installed=1
check "dpkg installs the package" run_dpkg -i "$deb"
mapfile -t owned < <(dpkg -L tovelin 2>/dev/null)
check "the package holds files (${#owned[@]} paths)" test ${#owned[@]} -gt 10

check "tovelin on the PATH is the installed program ($(command -v tovelin))" \
    test "$(command -v tovelin)" = /usr/bin/tovelin
check "man finds the manual page ($(man -w tovelin 2>&1))" test "$(man -w tovelin 2>/dev/null)" = /usr/share/man/man1/tovelin.1.gz
check "the manual page formats without warnings" \
    bash -c "[ -z \"\$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l /usr/share/man/man1/tovelin.1.gz 2>&1 >/dev/null)\" ]"
check "the installed desktop entry validates" desktop-file-validate /usr/share/applications/tovelin.desktop
check "the desktop entry runs the settings" grep -qx 'Exec=tovelin /c' /usr/share/applications/tovelin.desktop
check "the installed metainfo validates" \
    bash -c "appstreamcli validate --no-net /usr/share/metainfo/*tovelin*.metainfo.xml >'$IT_WORK/appstream.log' 2>&1"
for size in 48 256; do
    check "the icon of ${size}x$size is installed" \
        bash -c "identify -format '%wx%h' /usr/share/icons/hicolor/${size}x$size/apps/tovelin.png | grep -qx ${size}x$size"
done
check "XScreenSaver's entry runs 'tovelin --root'" \
    bash -c "grep -q '<screensaver name=\"tovelin\"' /usr/share/xscreensaver/config/tovelin.xml &&
             grep -q '<command arg=\"--root\"/>' /usr/share/xscreensaver/config/tovelin.xml"
check "the help pages are in the data folder" test -f /usr/share/tovelin/help/Overview.htm

# The installed program's dialog, with a throwaway store, and its Help Content.
it_start_display 1024x768
it_prepare_environment
it_record_opens
# shellcheck disable=SC2034 # the program that it_launch runs
IT_PROGRAM=/usr/bin/tovelin
it_launch /c
dialog=$(timeout 30 xdotool search --sync --onlyvisible --name '^Tovelin Screen Saver Configuration $' 2>/dev/null | head -n 1)
check "'tovelin /c' opens the configuration dialog" [ -n "$dialog" ]
if [ -n "$dialog" ]; then
    eval "$(xdotool getwindowgeometry --shell "$dialog")"
    # The Help menu of the menu bar, then its first item.
    xdotool mousemove --sync $((X + 60)) $((Y + 10)) click 1
    sleep 0.4
    xdotool key --clearmodifiers Down Return
    check "Help Content opens the installed overview page" it_opened_with /usr/share/tovelin/help/Overview.htm 10
    it_screenshot linux-package-dialog
fi
kill "$IT_PID" 2>/dev/null
it_wait

check "dpkg removes the package" run_dpkg -r tovelin
check "dpkg purges the package" run_dpkg -P tovelin
check "dpkg knows no tovelin package any more" bash -c "! dpkg-query -W -f='\${Status}' tovelin 2>/dev/null | grep -q installed"
installed=0
# A folder of the package may stay when another package owns it or it holds others' files.
left=()
for path in "${owned[@]}"; do
    [ "$path" = /. ] && continue
    if [ -d "$path" ] && [ ! -L "$path" ]; then
        dpkg-query -S "$path" >/dev/null 2>&1 && continue
        [ -n "$(ls -A "$path" 2>/dev/null)" ] && continue
        left+=("$path")
    elif [ -e "$path" ] || [ -L "$path" ]; then
        left+=("$path")
    fi
done
check "none of the package's files is left (${left[*]:-none})" test ${#left[@]} -eq 0
check "tovelin is no longer on the PATH" bash -c "! command -v tovelin"
it_finish
