# shellcheck shell=bash
# The Linux steps of the configuration scenario, sourced by test_config.sh: the GTK dialog under
# Xvfb, the GTK folder chooser, Save's confirmation, the store file, and the about box's links.

key='HKEY_CURRENT_USER\Control Panel\Screen Saver.Tovelin'
store="$XDG_CONFIG_HOME/tovelin/registry.reg"
# The added folder's path is typed into the chooser: a fixed name without capitals, which
# xdotool types reliably (the work folder's random name has some).
first="$IT_WORK/photos/first"
added="$IT_RESULTS/linux-config-photos/added"
rm -rf "$(dirname "$added")"
mkdir -p "$first" "$added" "$(dirname "$store")"
# A Pictures folder (the XDG user directory) with a name of its own and a subfolder: the folder
# chooser opens there.
pictures="$IT_WORK/home/Bilder"
mkdir -p "$pictures/holiday"
echo "XDG_PICTURES_DIR=\"$pictures\"" >"$XDG_CONFIG_HOME/user-dirs.dirs"
convert -size 64x48 xc:'#2864c8' "$added/blue.jpg"
cat >"$store" <<REG
REGEDIT4

[$key]
"PhotoDirectorys"="$first"
"ChangeInterval"=dword:00000bb8
"ShowDateTime"=dword:00000000
"EnableMusic"=dword:00000001
REG

# The desktop's default handlers: a recorder, so that what the dialog opens can be checked.
it_record_opens

title='Tovelin Screen Saver Configuration '
client_width=510
client_height=516

# find_window NAME SECONDS: the visible window whose name is exactly NAME.
find_window() { timeout "$2" xdotool search --sync --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1; }
# window_gone ID SECONDS: true once the window is no longer mapped.
window_gone() {
    local tries=0
    while xdotool getwindowgeometry "$1" >/dev/null 2>&1 && [ $tries -lt $(($2 * 10)) ]; do
        xwininfo -id "$1" 2>/dev/null | grep -q 'IsUnMapped' && return 0
        sleep 0.1
        tries=$((tries + 1))
    done
    [ $tries -lt $(($2 * 10)) ]
}
# The top-left corner of a window: sets WX and WY (and WH, its height).
window_place() {
    eval "$(xdotool getwindowgeometry --shell "$1")"
    WX=$X WY=$Y WH=$HEIGHT WW=$WIDTH
}
click() { xdotool mousemove --sync "$1" "$2" click 1; }
# bluish_pixels SHOT X Y W H / dark_pixels ...: how many pixels of the area are of that kind.
area_pixels() {
    convert "$IT_RESULTS/$1.png" -crop "$4x$5+$2+$3" +repage txt:- 2>/dev/null | sed -n 's/^\([0-9]*\),\([0-9]*\): (\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3 \4 \5/p'
}
bluish_pixels() { area_pixels "$@" | awk '$5 >= 200 && $3 <= 120 && $4 <= 120' ; }
# near_black RRGGBB: prints it when every part is at most 0x30.
near_black() { [ -n "$1" ] && [ $((16#${1:0:2})) -le 48 -a $((16#${1:2:2})) -le 48 -a $((16#${1:4:2})) -le 48 ] && echo "$1"; }
dark_pixels() { area_pixels "$@" | awk '$3 <= 60 && $4 <= 60 && $5 <= 60'; }

# The controls of the program's windows as GTK placed them, written by a module of the test's.
widget_probe="$IT_RESULTS/tools/gtk_widget_probe.so"
if [ ! -f "$widget_probe" ] || [ "$IT_HERE/tools/gtk_widget_probe.c" -nt "$widget_probe" ]; then
    # shellcheck disable=SC2046
    cc -shared -fPIC -O1 -o "$widget_probe" "$IT_HERE/tools/gtk_widget_probe.c" $(pkg-config --cflags --libs gtk+-3.0) ||
        fail "the GTK widget probe builds"
fi
export GTK_MODULES="$widget_probe" TOVELIN_WIDGET_PROBE_OUT="$IT_WORK/widgets"
# check_layout DIALOG TITLE: the controls of the window TITLE against the dialog's table.
check_layout() {
    sleep 0.7
    awk -F'\t' -v title="$2" '$1 == title' "$TOVELIN_WIDGET_PROBE_OUT" 2>/dev/null | cut -f2- >"$IT_WORK/seen-$1"
    it_check_layout "$1" "$IT_WORK/seen-$1" name
}

it_launch /c
dialog=$(find_window "$title" 30)
check "'/c' opens the configuration dialog" [ -n "$dialog" ]
[ -n "$dialog" ] || { kill "$IT_PID" 2>/dev/null; it_wait; it_finish; }
window_place "$dialog"
# The menu bar sits above the client area.
top=$((WY + WH - client_height))
check "the dialog's client area is $client_width x $client_height (window ${WW}x$WH)" \
    [ "$WW" -eq $client_width -a $((WH - client_height)) -gt 0 -a $((WH - client_height)) -lt 40 ]
check "the dialog is centred on the screen (at $WX,$WY)" [ "$WX" -eq $(((1024 - client_width) / 2)) ]
sleep 0.3
it_screenshot linux-config-dialog
check_layout config "$title"
banner=$(it_pixel linux-config-dialog $((WX + 40)) $((top + 80)))
list=$(it_pixel linux-config-dialog $((WX + 300)) $((top + 215)))
edit=$(it_pixel linux-config-dialog $((WX + 180)) $((top + 370)))
beside=$(it_pixel linux-config-dialog $((WX + 300)) $((top + 375)))
check "the banner fills the top of the dialog (pixel $banner)" [ -n "$banner" -a "$banner" != "$beside" ]
check "the directory list is white at its place (pixel $list)" [ "$list" = ffffff ]
check "the interval edit has its grey background at its place (pixel $edit)" [ "$edit" = d4d0c8 ]
check "the stored directory is traced when the dialog fills its list" it_wait_for_trace "^pic dir=$first\$" 1 5

# Add Directory: the folder chooser, the path typed into its location field.
click $((WX + 384 + 56)) $((top + 112 + 12))
chooser=$(find_window 'Browse for Folder' 20)
check "Add Directory opens the folder chooser" [ -n "$chooser" ]
if [ -n "$chooser" ]; then
    it_screenshot linux-config-browse
    xdotool windowfocus --sync "$chooser" 2>/dev/null
    xdotool key --clearmodifiers ctrl+l
    sleep 0.3
    xdotool type --delay 10 "$added"
    sleep 0.5
    it_screenshot linux-config-browse-typed
    xdotool key --clearmodifiers Return
    check "the chooser closes on Enter" window_gone "$chooser" 10
fi

# add_at_once SHOT: Add Directory, then Enter as soon as the chooser shows, choosing nothing: the
# chooser adds the folder it shows.
add_at_once() {
    click $((WX + 384 + 56)) $((top + 112 + 12))
    chooser=$(find_window 'Browse for Folder' 20)
    check "Add Directory opens the folder chooser ($1)" [ -n "$chooser" ]
    [ -n "$chooser" ] || return
    xdotool windowfocus --sync "$chooser" 2>/dev/null
    it_screenshot "$1"
    xdotool key --clearmodifiers Return
    check "the chooser closes on Enter ($1)" window_gone "$chooser" 10
}
add_at_once linux-config-browse-pictures

# Two clicks on the spin control's upper arrow: 3 seconds become 5.
click $((WX + 185 + 7)) $((top + 367 + 5))
sleep 0.2
click $((WX + 185 + 7)) $((top + 367 + 5))
sleep 0.2

# Save, and its confirmation.
click $((WX + 80 + 37)) $((top + 488 + 12))
prompt=$(find_window Prompt 20)
check "Save confirms with the box 'Prompt'" [ -n "$prompt" ]
if [ -n "$prompt" ]; then
    it_screenshot linux-config-saved
    xdotool windowfocus --sync "$prompt" 2>/dev/null
    xdotool key --clearmodifiers Return
    check "the confirmation closes on Enter" window_gone "$prompt" 10
fi
value() { sed -n "s/^\"$1\"=//p" "$store" | tr -d '\r'; }
check "the store holds the three directories in order, the Pictures folder last ($(value PhotoDirectorys))" \
    [ "$(value PhotoDirectorys)" = "\"$first|$added|$pictures\"" ]
check "the store holds the interval of 5 seconds ($(value ChangeInterval))" [ "$(value ChangeInterval)" = dword:00001388 ]
flags_ok=1
for flag in ShowDateTime=0 ShowCurrentFileInfo=1 ShowAllPhotoCount=1 DisableRandom=0 FadeOutLastPhoto=0 \
    EnableMusic=1 DisableMusicRandom=0; do
    [ "$(value "${flag%=*}")" = "dword:0000000${flag#*=}" ] || { flags_ok=0; echo "flag ${flag%=*}: $(value "${flag%=*}")"; }
done
check "the store holds the seven flags as the dialog showed them" [ $flags_ok -eq 1 ]

# Directory Detail on the first line, Help Content and Home Page: the desktop's handlers.
window_place "$dialog"
click $((WX + 60)) $((top + 112 + 7))
click $((WX + 384 + 56)) $((top + 208 + 12))
check "Directory Detail opens the selected folder" it_opened_with "$first" 10
click $((WX + 60)) $((WY + 10))
sleep 0.4
xdotool key --clearmodifiers Down Return
check "Help Content opens the overview page beside the program" \
    it_opened_with "$(dirname "$IT_PROGRAM")/help/Overview.htm" 10
click $((WX + 60)) $((WY + 10))
sleep 0.4
xdotool key --clearmodifiers Down Down Return
check "Home Page opens the home page" it_opened_with "https://tovelin.example/?come_from=tovelin_saver" 10

# The about box from the Help menu; the mail link turns blue under the mouse and black after.
click $((WX + 60)) $((WY + 10))
sleep 0.4
xdotool key --clearmodifiers Down Down Down Return
about=$(find_window About 20)
check "Help > About... opens the about box" [ -n "$about" ]
if [ -n "$about" ]; then
    window_place "$about"
    check "the about box is 414 x 279 at 192,107 (${WW}x$WH at $WX,$WY)" \
        [ "$WW" -eq 414 -a "$WH" -eq 279 -a "$WX" -eq 192 -a "$WY" -eq 107 ]
    mail_x=$((WX + 160)) mail_y=$((WY + 224))
    # A slow (sanitized) build maps the box a moment before it paints it.
    for _ in 1 2 3 4 5 6 7 8 9 10; do
        sleep 0.3
        it_screenshot linux-about-box
        [ -n "$(dark_pixels linux-about-box $mail_x $mail_y 115 13)" ] && break
    done
    check_layout about About
    check "the mail label starts in the theme's text colour, not blue" \
        [ -z "$(bluish_pixels linux-about-box $mail_x $mail_y 115 13)" -a -n "$(dark_pixels linux-about-box $mail_x $mail_y 115 13)" ]
    xdotool mousemove --sync $((mail_x + 20)) $((mail_y + 6))
    sleep 0.4
    it_screenshot linux-about-hover
    # The most strongly blue pixel: the core of a glyph, not its anti-aliased edge.
    read -r bx by _ < <(bluish_pixels linux-about-hover $mail_x $mail_y 115 13 | awk '{ print $5 - $3, $0 }' |
        sort -rn | head -n 1 | cut -d' ' -f2-)
    check "the mail label turns blue under the mouse" [ -n "${bx:-}" ]
    xdotool mousemove --sync $((WX + 300)) $((WY + 60))
    sleep 0.4
    it_screenshot linux-about-left
    if [ -n "${bx:-}" ]; then
        blue=$(it_pixel linux-about-hover $((mail_x + bx)) $((mail_y + by)))
        black=$(it_pixel linux-about-left $((mail_x + bx)) $((mail_y + by)))
        check "the mail label turns black when the mouse leaves (pixel $blue, then $black)" \
            [ -z "$(bluish_pixels linux-about-left $mail_x $mail_y 115 13)" -a -n "$(near_black "$black")" ]
    fi
    click $((mail_x + 20)) $((mail_y + 6))
    check "the mail label opens a message to the support address" it_opened_with "mailto:support@tovelin.example" 10
    click $((WX + 296 + 45)) $((WY + 248 + 12))
    check "the about box's Close closes it" window_gone "$about" 10
fi

# Close ends the program.
window_place "$dialog"
click $((WX + 352 + 37)) $((top + 488 + 12))
it_wait
check "Close ends the program with 0 (status $IT_STATUS)" [ "$IT_STATUS" -eq 0 ]

# The show reads what was saved.
cp "$IT_WORK/err" "$IT_WORK/err-config"
it_launch /s
check "the show scans the saved directories" it_wait_for_trace "^pic dir=$added\$" 1 20
kill "$IT_PID" 2>/dev/null
it_wait

# Without a Pictures folder the chooser opens in the home folder.
rm -rf "$pictures"
it_launch /c
dialog=$(find_window "$title" 30)
check "'/c' opens the configuration dialog again" [ -n "$dialog" ]
if [ -n "$dialog" ]; then
    window_place "$dialog"
    top=$((WY + WH - client_height))
    add_at_once linux-config-browse-home
    click $((WX + 80 + 37)) $((top + 488 + 12))
    prompt=$(find_window Prompt 20)
    [ -n "$prompt" ] && xdotool windowfocus --sync "$prompt" 2>/dev/null && xdotool key --clearmodifiers Return
    window_gone "$prompt" 10
    click $((WX + 352 + 37)) $((top + 488 + 12))
fi
it_wait
check "the home folder is added when there is no Pictures folder ($(value PhotoDirectorys))" \
    [ "$(value PhotoDirectorys)" = "\"$first|$added|$pictures|$HOME\"" ]
rm -rf "$(dirname "$added")"
