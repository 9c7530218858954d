#!/usr/bin/env bash
# The Windows setup program in a Wine prefix of its own: a silent install puts tovelin.scr and
# help.chm into the system directory, the Start-menu shortcuts and the uninstall entry in place,
# and makes Tovelin the current screen saver, switched on. The installed saver runs the show at a
# logical resolution of 144 dots per inch, its window and a photo of the screen's size pixel for
# pixel, the band's clock at its point size; "/c" opens the dialog. A second install goes over the
# first; one over a running saver replaces its file at the restart; the silent uninstall takes away all it installed and leaves the user's settings, and
# the choice of another saver. Linux has no setup program: nothing to test there.
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"

[ "$IT_PLATFORM" = win32 ] || it_finish

setup=${TOVELIN_SETUP:-}
if [ ! -f "$setup" ]; then
    fail "the setup program is built (TOVELIN_SETUP='$setup'; the Windows build makes it when makensis is installed)"
    it_finish
fi

W=1024 H=768
it_start_display "${W}x${H}"
export GSETTINGS_BACKEND=memory NO_AT_BRIDGE=1
# A prefix of its own: the install must start from a system that never saw Tovelin.
# shellcheck source=/dev/null
source "$IT_ROOT/scripts/wine-prefix.sh" "$IT_WORK/wine" >/dev/null 2>&1
trap 'wineserver -k >/dev/null 2>&1; it_cleanup; rm -rf "$IT_WORK/wine/prefix"' EXIT

run() { timeout 120 "$IT_ROOT/scripts/wine-run.sh" "$@" >>"$IT_WORK/tools.out" 2>>"$IT_WORK/tools.err"; }
winreg() { timeout 60 "$IT_ROOT/scripts/wine-run.sh" reg "$@" 2>/dev/null | tr -d '\r'; }
# reg_value KEY NAME [/reg:64]: the value's data as reg shows it (0x.. for numbers); status 1 when
# absent.
reg_value() {
    local line
    line=$(winreg query "$1" /v "$2" ${3:+"$3"} | grep -E "^ +$2 +REG_") || return 1
    printf '%s\n' "$line" | sed -E 's/^ +[^ ]+ +REG_[A-Z_]+ +//'
}

program_dir=$(dirname "$IT_PROGRAM")
drive_c="$WINEPREFIX/drive_c"
system_dir="$drive_c/windows/system32"
saver="$system_dir/tovelin.scr"
saver_path='C:\windows\system32\tovelin.scr'
uninstaller="$drive_c/Program Files/Tovelin/uninstall.exe"
menu="$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Tovelin"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tovelin'
desktop='HKCU\Control Panel\Desktop'
settings='HKCU\Control Panel\Screen Saver.Tovelin'
system_ini="$drive_c/windows/system.ini"
ini_saver() { tr -d '\r' <"$system_ini" 2>/dev/null | sed -n 's/^SCRNSAVE\.EXE=//Ip'; }

# The user's settings: one photo of the screen's size, a 1-pixel checkerboard of two light
# colours, and only the clock in the band. The screen saver starts switched off.
photos="$IT_WORK/photos"
mkdir -p "$photos"
convert -size ${W}x$H pattern:gray50 +level-colors '#e0c080','#80c0e0' -type TrueColor BMP3:"$photos/check.bmp"
winreg add "$settings" /v PhotoDirectorys /t REG_SZ /d "Z:${photos//\//\\}" /f >/dev/null
for value in ChangeInterval=60000 ShowDateTime=1 ShowCurrentFileInfo=0 ShowAllPhotoCount=0 EnableMusic=0 \
    FadeOutLastPhoto=0; do
    winreg add "$settings" /v "${value%=*}" /t REG_DWORD /d "${value#*=}" /f >/dev/null
done
winreg add "$desktop" /v ScreenSaveActive /t REG_SZ /d 0 /f >/dev/null
winreg add "$desktop" /v LogPixels /t REG_DWORD /d 144 /f >/dev/null

# check_installed WHEN: everything the setup puts in place.
check_installed() {
    local when=$1
    check "$when: tovelin.scr in the system directory is the built program" \
        cmp -s "$saver" "$(dirname "$setup")/setup-files/tovelin.exe"
    check "$when: help.chm beside it" cmp -s "$system_dir/help.chm" "$program_dir/help.chm"
    check "$when: the uninstaller" test -f "$uninstaller"
    check "$when: the Start-menu shortcuts to the settings and the help" \
        test -f "$menu/Tovelin Screen Saver Settings.lnk" -a -f "$menu/Tovelin Screen Saver Help.lnk"
    check "$when: the settings shortcut runs the saver with /c" \
        grep -qa 'tovelin\.scr' "$menu/Tovelin Screen Saver Settings.lnk"
    local name value expected bad=""
    for name in DisplayName DisplayVersion Publisher DisplayIcon EstimatedSize UninstallString QuietUninstallString; do
        value=$(reg_value "$uninstall_key" "$name" /reg:64) || { bad+=" $name missing"; continue; }
        case $name in
            DisplayName) expected='Tovelin Screen Saver' ;;
            DisplayVersion) expected=$(sed -n 's/^project(Tovelin VERSION \([0-9.]*\).*/\1/p' "$IT_ROOT/CMakeLists.txt") ;;
            Publisher) expected=Tovelin ;;
            DisplayIcon) expected=$saver_path ;;
            EstimatedSize) expected=$value; [ $((value)) -gt 500 ] || bad+=" EstimatedSize=$value" ;;
            UninstallString) expected='"C:\Program Files\Tovelin\uninstall.exe"' ;;
            QuietUninstallString) expected='"C:\Program Files\Tovelin\uninstall.exe" /S' ;;
        esac
        [ "$value" = "$expected" ] || bad+=" $name='$value'"
    done
    check "$when: the uninstall entry in the 64-bit registry${bad:+:$bad}" [ -z "$bad" ]
    value=$(reg_value "$desktop" SCRNSAVE.EXE)
    check "$when: SCRNSAVE.EXE names the installed saver ('$value')" [ "$value" = "$saver_path" ]
    check "$when: system.ini names it too ('$(ini_saver)')" [ "$(ini_saver)" = "$saver_path" ]
    value=$(reg_value "$desktop" ScreenSaveActive)
    check "$when: the screen saver is switched on (ScreenSaveActive '$value')" [ "$value" = 1 ]
}

entry_gone() { ! winreg query "$uninstall_key" /reg:64 | grep -q DisplayName; }
saver_unnamed() { ! reg_value "$desktop" SCRNSAVE.EXE >/dev/null; }

check_removed() { # check_removed WHEN
    local when=$1
    check "$when: tovelin.scr and help.chm are gone" test ! -e "$saver" -a ! -e "$system_dir/help.chm"
    check "$when: the uninstaller and its folder are gone" test ! -e "$(dirname "$uninstaller")"
    check "$when: the Start-menu folder is gone" test ! -e "$menu"
    check "$when: the uninstall entry is gone" entry_gone
    local kept
    kept=$(reg_value "$settings" PhotoDirectorys)
    check "$when: the user's settings remain ('$kept')" [ "$kept" = "Z:${photos//\//\\}" ]
}

# The uninstaller hands its work to a copy of itself and returns: wait for that copy's end.
uninstall() {
    run "$uninstaller" /S
    local tries=0
    while [ -e "$uninstaller" ] && [ $tries -lt 300 ]; do sleep 0.2; tries=$((tries + 1)); done
    sleep 1
}

check "a silent install ends with status 0" run "$setup" /S
check_installed "after the install"
listed_name() { x86_64-w64-mingw32-windres -i "$saver" -O rc 2>/dev/null | grep -qx '  1, "Tovelin Screen Saver"'; }
check "the saver's name for the system's list is string 1, \"Tovelin Screen Saver\"" listed_name

check "a second install over the first ends with status 0" run "$setup" /S
check_installed "after the second install"

# The installed saver's show at 144 dots per inch.
IT_PROGRAM=$saver
export WINEDEBUG=-all,+debugstr
it_launch /s
if it_wait_for_trace '^DrawScreen end\.\.\.$' 1 40; then
    sleep 1
    it_screenshot win32-installed-show
    shot="$IT_RESULTS/win32-installed-show.png"
    # Band: 90 % of the width from 5 % in, 100 high, its bottom 100 above the screen's; the clock's
    # 36-point text starts 52 below its top and may run past its bottom.
    bx=$((W / 20)) by=$((H - 200))
    # differing WxH+X+Y: how many pixels of the area differ between the screenshot and the photo.
    differing() {
        convert "$shot" -crop "$1" +repage "$IT_WORK/seen.png"
        convert "$photos/check.bmp" -crop "$1" +repage "$IT_WORK/photo.png"
        compare -metric AE "$IT_WORK/seen.png" "$IT_WORK/photo.png" null: 2>&1
    }
    differ=$(differing ${W}x$by+0+0)
    check "the show covers the screen pixel for pixel: the checkerboard above the band is exact ($differ pixels differ)" \
        [ "$differ" = 0 ]
    lower=$((by + 140))
    differ=$(differing ${W}x$((H - lower))+0+$lower)
    check "the checkerboard below the band is exact ($differ pixels differ)" [ "$differ" = 0 ]
    # Rows of the clock holding dark pixels: about 52 for 36 points at 144 dpi, 35 at 96.
    rows=$(convert "$shot" -crop 300x140+$((bx + 10))+$by +repage -colorspace gray -threshold 25% -negate \
        -scale 1x140! -threshold 0 -format '%[fx:round(mean*h)]' info: 2>/dev/null)
    check "the band's clock keeps its 36 points at 144 dpi ($rows rows high)" [ "${rows:-0}" -ge 45 -a "${rows:-0}" -le 75 ]
    xdotool key x
    it_wait
    check "a key ends the installed show with status 0 (status $IT_STATUS)" [ "$IT_STATUS" -eq 0 ]
else
    kill "$IT_PID" 2>/dev/null
    it_wait
    fail "the installed saver shows a photo within 40 s (status $IT_STATUS; trace: $(it_trace | head -n 3 | tr '\n' '|'))"
fi
export WINEDEBUG=-all

it_launch /c
if timeout 40 xdotool search --sync --onlyvisible --name '^Tovelin Screen Saver Configuration $' >"$IT_WORK/dialog.id" 2>/dev/null; then
    pass "the installed saver's /c opens the configuration dialog"
    sleep 0.5
    it_screenshot win32-installed-config
    xdotool key --window "$(head -n 1 "$IT_WORK/dialog.id")" alt+F4
else
    fail "the installed saver's /c opens the configuration dialog"
fi
it_wait

# Over a running saver: an older file stands in the system directory and the show runs from it.
# The new one waits beside it and takes its place at the restart (wineboot -r stands for one).
printf 'older' >>"$saver"
it_launch /s
sleep 4
check "an install while the saver runs ends with status 0" run "$setup" /S
pending=$(winreg query 'HKLM\System\CurrentControlSet\Control\Session Manager' /v PendingFileRenameOperations)
check "the running saver's file is to be replaced at the restart" \
    grep -qF 'C:\windows\system32\tovelin.scr.new\0!\??\C:\windows\system32\tovelin.scr' <<<"$pending"
xdotool key x
it_wait
run wineboot -r
check "after the restart tovelin.scr is the new program" cmp -s "$saver" "$(dirname "$setup")/setup-files/tovelin.exe"
check "after the restart no new copy waits beside it" test ! -e "$saver.new"

uninstall
check_removed "after the uninstall"
check "SCRNSAVE.EXE, which named Tovelin, is cleared" saver_unnamed
check "system.ini names no saver any more ('$(ini_saver)')" [ -z "$(ini_saver)" ]

# Another saver chosen after the install stays chosen.
check "a third install ends with status 0" run "$setup" /S
other='C:\windows\system32\other.scr'
winreg add "$desktop" /v SCRNSAVE.EXE /t REG_SZ /d "$other" /f >/dev/null
uninstall
check_removed "after the second uninstall"
check "SCRNSAVE.EXE naming another saver stays ('$(reg_value "$desktop" SCRNSAVE.EXE)')" \
    [ "$(reg_value "$desktop" SCRNSAVE.EXE)" = "$other" ]

it_finish
