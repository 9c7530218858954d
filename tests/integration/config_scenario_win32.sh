# The configuration scenario under Wine, sourced by test_config.sh once the display, the Wine
# prefix and the tools are ready. Real mouse clicks (xdotool) at the places that window_probe
# reads from the windows; the folder browser is given its path by the probe.

caption='Tovelin Screen Saver Configuration '
key='HKCU\Control Panel\Screen Saver.Tovelin'
desktop='HKCU\Control Panel\Desktop'
system_ini="$WINEPREFIX/drive_c/windows/system.ini"

WINDOW_PROBE="$IT_RESULTS/tools/window_probe.exe"
if [ ! -f "$WINDOW_PROBE" ] || [ "$IT_HERE/tools/window_probe.c" -nt "$WINDOW_PROBE" ]; then
    x86_64-w64-mingw32-gcc -O1 -o "$WINDOW_PROBE" "$IT_HERE/tools/window_probe.c" ||
        { fail "the window probe builds"; it_finish; }
fi

# wine_tool PROGRAM ARGS...: a Windows tool's output without CRs, and its status.
wine_tool() {
    local output status
    output=$(timeout 30 "$IT_ROOT/scripts/wine-run.sh" "$@" 2>>"$IT_WORK/tools.err")
    status=$?
    [ -n "$output" ] && printf '%s\n' "${output//$'\r'/}"
    return $status
}
winreg() { timeout 60 "$IT_ROOT/scripts/wine-run.sh" reg "$@" 2>/dev/null | tr -d '\r'; }
# reg_value KEY NAME: the value's data as reg shows it (0x.. for numbers); status 1 when absent.
reg_value() {
    local line
    line=$(winreg query "$1" /v "$2" | grep -E "^ +$2 +REG_") || return 1
    printf '%s\n' "$line" | sed -E 's/^ +[^ ]+ +REG_[A-Z_]+ +//'
}

# The prefix is shared with the other tests: everything that Save touches is put back.
saved_scrnsave=$(reg_value "$desktop" SCRNSAVE.EXE) && had_scrnsave=1 || had_scrnsave=0
saved_active=$(reg_value "$desktop" ScreenSaveActive) && had_active=1 || had_active=0
[ -f "$system_ini" ] && cp -p "$system_ini" "$IT_WORK/system.ini.saved"
restore_prefix() {
    winreg delete "$key" /f >/dev/null
    if [ $had_scrnsave -eq 1 ]; then
        winreg add "$desktop" /v SCRNSAVE.EXE /t REG_SZ /d "$saved_scrnsave" /f >/dev/null
    else
        winreg delete "$desktop" /v SCRNSAVE.EXE /f >/dev/null
    fi
    if [ $had_active -eq 1 ]; then
        winreg add "$desktop" /v ScreenSaveActive /t REG_SZ /d "$saved_active" /f >/dev/null
    else
        winreg delete "$desktop" /v ScreenSaveActive /f >/dev/null
    fi
    if [ -f "$IT_WORK/system.ini.saved" ]; then cp -p "$IT_WORK/system.ini.saved" "$system_ini"; else rm -f "$system_ini"; fi
}
trap 'restore_prefix; rm -rf "$photos"; it_cleanup' EXIT
winreg delete "$key" /f >/dev/null

# Not under the work folder: Wine's folder browser cannot select a path through a folder named
# like "work-test_config.AbC12x" (an extension longer than three characters).
photos="$IT_RESULTS/config-photos"
rm -rf "$photos"
mkdir -p "$photos"
convert -size 64x48 xc:'#2864c8' "$photos/blue.jpg"
photo_dir="Z:${photos//\//\\}"

# place WINDOW_PROBE_ARGS...: sets X Y LEFT TOP WIDTH HEIGHT from the probe's answer.
place() {
    local answer
    answer=$(wine_tool "$WINDOW_PROBE" "$@") && [ -n "$answer" ] || return 1
    read -r X Y LEFT TOP WIDTH HEIGHT <<<"$answer"
}
click_at() { xdotool mousemove "$1" "$2" click 1; }
# all CONDITION...: true when every condition (a shell test, evaluated) holds.
all() {
    local condition
    for condition in "$@"; do eval "$condition" || return 1; done
}
# gone CAPTION: no visible window has that caption.
gone() { ! WINDOW_PROBE_WAIT_MS=300 wine_tool "$WINDOW_PROBE" where "$1" >/dev/null; }
# click CONTROL: a click in the middle of the dialog's control.
click() { place where "$caption" "$1" && click_at "$X" "$Y"; }
# answer_prompt: the text of the "Prompt" box, answered with OK.
answer_prompt() { wine_tool "$IT_PROBE" Prompt 20000; }

# colour_pixels SHOT WxH+X+Y RRGGBB: how many pixels of the area have exactly that colour.
colour_pixels() {
    convert "$IT_RESULTS/$1.png" -crop "$2" +repage -fill white +opaque "#$3" -fill black -opaque "#$3" \
        -negate -format '%[fx:round(mean*w*h)]' info: 2>/dev/null
}

# start_dialog PROGRAM: "/c" from the program's own folder, where its bare name resolves.
start_dialog() {
    local program=$IT_PROGRAM
    IT_PROGRAM=$1
    pushd "$(dirname "$1")" >/dev/null || return 1
    it_launch /c
    popd >/dev/null || return 1
    IT_PROGRAM=$program
    # A first start on a fresh display may take a while.
    WINDOW_PROBE_WAIT_MS=30000 place where "$caption"
}

# close_dialog WHAT: Close pressed; the program ends with status 0.
close_dialog() {
    click '=Close'
    it_wait
    check "$1: Close ends the program with status 0 (status $IT_STATUS)" [ "$IT_STATUS" -eq 0 ]
}

# --- From the .exe: the dialog, the about box, the folder browser and Save. ---
if ! start_dialog "$IT_PROGRAM"; then
    fail "/c opens the configuration dialog (stderr: $(tail -n 3 "$IT_WORK/err" | tr '\n' '|'))"
    kill "$IT_PID" 2>/dev/null
    it_finish
fi
check "the dialog's client area is 510 x 516 under its menu bar (seen ${WIDTH}x$HEIGHT)" \
    all '[ "$WIDTH" -eq 510 ]' '[ "$HEIGHT" -eq 516 ]'
sleep 0.3
it_screenshot config-dialog
# Every control where the dialogs' table puts it, with its text.
wine_tool "$WINDOW_PROBE" controls "$caption" >"$IT_WORK/seen-config"
it_check_layout config "$IT_WORK/seen-config" place

# Add Directory... through the real folder browser.
# The first browser of a new Wine prefix at times never takes a path sent to it; that browser
# is cancelled, which adds nothing, and a second one is asked.
for attempt in 1 2; do
    click '=Add Directory...'
    : >"$IT_WORK/tools.err"
    browser_labels=$(wine_tool "$WINDOW_PROBE" browse "$photo_dir")
    browsed=$?
    [ $browsed -eq 0 ] && break
    sleep 0.5
done
check "the folder browser takes the photo folder ($(tail -n 1 "$IT_WORK/tools.err" 2>/dev/null))" [ $browsed -eq 0 ]
check "the folder browser shows the prompt (labels: $(printf '%s' "$browser_labels" | tr '\n' '|'))" \
    grep -q '^Please select the directory containing photoes:' <<<"$browser_labels"

# Help > About... from the keyboard (the menus live in the program's own process): the dialog
# focused by a click on its empty lower right, F10 to the menu bar, Right to Help, Down opens it
# at its first item, Up wraps round to its last, "About...".
place where "$caption" && click_at $((LEFT + 450)) $((TOP + 470))
sleep 0.2
xdotool key F10 Right Down
sleep 0.3
xdotool key Up Return
if place where About; then
    check "the about box's client area is 414 x 279 (seen ${WIDTH}x$HEIGHT)" \
        all '[ "$WIDTH" -eq 414 ]' '[ "$HEIGHT" -eq 279 ]'
    wine_tool "$WINDOW_PROBE" controls About >"$IT_WORK/seen-about"
    it_check_layout about "$IT_WORK/seen-about" place
    place where About '*@'
    mail="${WIDTH}x$HEIGHT+$LEFT+$TOP"
    sleep 0.3
    it_screenshot about-box
    xdotool mousemove "$X" "$Y"
    sleep 0.5
    it_screenshot about-mail-hover
    xdotool mousemove "$LEFT" $((TOP - 60))
    sleep 0.5
    it_screenshot about-mail-left
    blue_before=$(colour_pixels about-box "$mail" 0000ff)
    blue_over=$(colour_pixels about-mail-hover "$mail" 0000ff)
    blue_after=$(colour_pixels about-mail-left "$mail" 0000ff)
    black_after=$(colour_pixels about-mail-left "$mail" 000000)
    check "the mail label turns pure blue under the mouse and black when it leaves (blue pixels $blue_before, $blue_over, $blue_after; black $black_after)" \
        all '[ "${blue_before:-1}" -eq 0 ]' '[ "${blue_over:-0}" -gt 20 ]' '[ "${blue_after:-1}" -eq 0 ]' \
            '[ "${black_after:-0}" -gt 20 ]'
    place where About '=Close' && click_at "$X" "$Y"
    sleep 0.5
    check "the about box's Close closes it" gone About
else
    fail "Help > About... opens the about box"
fi

# Help > Help Content... opens the compiled help beside the program in the HTML Help window
# (its title comes from the help project); Alt+F4 closes it.
place where "$caption" && click_at $((LEFT + 450)) $((TOP + 470))
sleep 0.2
xdotool key F10 Right Down Return
if WINDOW_PROBE_WAIT_MS=20000 place where 'Tovelin Screen Saver Help'; then
    pass "Help Content opens help.chm in the HTML Help window"
    click_at $((LEFT + 100)) $((TOP + 100))
    xdotool key alt+F4
    sleep 0.5
    gone 'Tovelin Screen Saver Help' || fail "the help window closes"
else
    fail "Help Content opens help.chm in the HTML Help window"
fi

# Two clicks on the spin control's upper arrow, and fade-out switched on.
if place where "$caption" class:msctls_updown32; then
    click_at "$X" $((TOP + HEIGHT / 4)); sleep 0.2
    click_at "$X" $((TOP + HEIGHT / 4)); sleep 0.2
fi
click '=Fade out current photo before display next '
sleep 0.2
click '=Save'
check "Save confirms with 'All infomation  Save OK.'" [ "$(answer_prompt)" = "All infomation  Save OK." ]

declare -A expected=([PhotoDirectorys]="$photo_dir" [ChangeInterval]=0xbb8 [ShowDateTime]=0x1
    [ShowCurrentFileInfo]=0x1 [ShowAllPhotoCount]=0x1 [DisableRandom]=0x0 [FadeOutLastPhoto]=0x1
    [EnableMusic]=0x1 [DisableMusicRandom]=0x0)
for name in "${!expected[@]}"; do
    seen=$(reg_value "$key" "$name")
    check "Save stores $name = ${expected[$name]} (seen '$seen')" [ "$seen" = "${expected[$name]}" ]
done
saver_file=$(reg_value "$desktop" SCRNSAVE.EXE)
check "from the .exe, Save names the .scr in the system directory under Desktop (seen '$saver_file')" \
    grep -qix 'C:\\windows\\system32\\tovelin\.scr' <<<"$saver_file"
boot_entry=$(tr -d '\r' <"$system_ini" 2>/dev/null | sed -n '/^\[boot\]/I,/^\[/{s/^SCRNSAVE\.EXE=//Ip}')
check "from the .exe, system.ini's [boot] section names the .scr (seen '$boot_entry')" \
    all '[ -n "$saver_file" ]' '[ "$boot_entry" = "$saver_file" ]'
check "from the .exe, Save switches the screen saver on" [ "$(reg_value "$desktop" ScreenSaveActive)" = 1 ]
close_dialog "from the .exe"

# --- From the .scr: Save writes the settings only. ---
mkdir -p "$IT_WORK/scr"
cp "$IT_PROGRAM" "$IT_WORK/scr/tovelin.scr"
winreg delete "$desktop" /v SCRNSAVE.EXE /f >/dev/null
ini_before=$(md5sum <"$system_ini")
if start_dialog "$IT_WORK/scr/tovelin.scr"; then
    click '=Show current time'
    sleep 0.2
    click '=Save'
    check "from the .scr, Save confirms" [ "$(answer_prompt)" = "All infomation  Save OK." ]
    check "from the .scr, Save stores the settings (ShowDateTime 0, the directory kept)" \
        all '[ "$(reg_value "$key" ShowDateTime)" = 0x0 ]' '[ "$(reg_value "$key" PhotoDirectorys)" = "$photo_dir" ]'
    check "from the .scr, Save writes no Desktop value" all '! reg_value "$desktop" SCRNSAVE.EXE'
    check "from the .scr, system.ini is unchanged" [ "$(md5sum <"$system_ini")" = "$ini_before" ]
    close_dialog "from the .scr"
else
    fail "/c opens the dialog from the .scr"
    kill "$IT_PID" 2>/dev/null
fi
