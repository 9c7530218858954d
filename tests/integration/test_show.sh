#!/usr/bin/env bash
# The slide show end to end: "/s" on a folder of two flat-colour photos, one second apart, in
# list order. The trace lines follow the slide steps in order; a photo at rest stands in the
# middle of the black screen, under the translucent band with its running clock; moving the
# mouse leaves the show running, a key ends it with status 0. On Linux, again with a music
# folder: the track starts at a tick, is started again after its end, and is named in the band.
# On both, Ctrl+Right onto a music file that cannot be played: the next tick starts a track.
source "$(dirname "$0")/lib.sh"

W=1024 H=768
it_start_display "${W}x${H}"
it_prepare_environment

# Photos smaller than the screen, each of one colour; the BMP's margins are odd, so that its
# extra pixel must go to the right and bottom margins.
photos="$IT_WORK/photos"
mkdir -p "$photos"
declare -A SIZE=([left.bmp]="401 301" [right.jpg]="320 240")
declare -A COLOUR=([left.bmp]=c83c28 [right.jpg]=2864c8)
convert -size 401x301 xc:'#c83c28' -type TrueColor BMP3:"$photos/left.bmp"
convert -size 320x240 xc:'#2864c8' -quality 95 "$photos/right.jpg"

key='HKCU\Control Panel\Screen Saver.Tovelin'
if [ "$IT_PLATFORM" = win32 ]; then
    photo_dir="Z:${photos//\//\\}"
    winreg() { timeout 60 "$IT_ROOT/scripts/wine-run.sh" reg "$@" >/dev/null 2>&1; }
    winreg delete "$key" /f
    winreg add "$key" /v PhotoDirectorys /t REG_SZ /d "$photo_dir" /f &&
        winreg add "$key" /v ChangeInterval /t REG_DWORD /d 1000 /f &&
        winreg add "$key" /v DisableRandom /t REG_DWORD /d 1 /f &&
        winreg add "$key" /v EnableMusic /t REG_DWORD /d 0 /f ||
        { fail "settings prepared in the Wine registry"; it_finish; }
    # The prefix is shared with the other tests: leave no settings behind.
    trap 'winreg delete "$key" /f; it_cleanup' EXIT
    export WINEDEBUG=-all,+debugstr
    separator='\'
else
    photo_dir=$photos
    mkdir -p "$XDG_CONFIG_HOME/tovelin"
    cat >"$XDG_CONFIG_HOME/tovelin/registry.reg" <<REG
REGEDIT4

[${key/HKCU/HKEY_CURRENT_USER}]
"PhotoDirectorys"="${photo_dir//\\/\\\\}"
"ChangeInterval"=dword:000003e8
"DisableRandom"=dword:00000001
"EnableMusic"=dword:00000000
REG
    separator=/
fi

# linux_music_store: the Linux store for the music cases: the photos and the music folder, one
# second apart, photos and tracks in list order, played into a silent sink.
linux_music_store() {
    cat >"$XDG_CONFIG_HOME/tovelin/registry.reg" <<REG
REGEDIT4

[${key/HKCU/HKEY_CURRENT_USER}]
"PhotoDirectorys"="${photo_dir//\\/\\\\}|${music//\\/\\\\}"
"ChangeInterval"=dword:000003e8
"DisableRandom"=dword:00000001
"EnableMusic"=dword:00000001
"DisableMusicRandom"=dword:00000001
REG
    export TOVELIN_AUDIO_SINK="fakesink sync=true"
}

count() { it_trace | grep -cE -- "$1"; }
last_photo() { it_trace | sed -n 's/^pic file=//p' | tail -n 1; }

alive() { kill -0 "$IT_PID" 2>/dev/null; }

it_launch /s
if ! it_wait_for_trace '^DrawScreen end\.\.\.$' 1 30; then
    alive && kill "$IT_PID"
    it_wait
    fail "the first photo is shown within 30 s (status $IT_STATUS; trace: $(it_trace | head -n 5 | tr '\n' '|'))"
    it_finish
fi
pass "the first photo is shown within 30 s"

# standing_shot NAME: a screenshot of a photo at rest, taken a moment after its slide step
# ended and before the next one began; sets SHOT_PHOTO to the photo's file name.
standing_shot() {
    local ends ticks
    for _ in 1 2 3 4 5 6; do
        ends=$(count '^DrawScreen end')
        it_wait_for_trace '^DrawScreen end' $((ends + 1)) 10 || return 1
        ticks=$(count '^Timer1Timer')
        SHOT_PHOTO=$(last_photo)
        SHOT_PHOTO=${SHOT_PHOTO##*"$separator"}
        sleep 0.3
        it_screenshot "$1"
        [ "$(count '^Timer1Timer')" -eq "$ticks" ] && return 0
    done
    return 1
}

near() { # near rrggbb rrggbb TOLERANCE: every channel within the tolerance
    local a=$1 b=$2 i
    [ ${#a} -eq 6 ] || return 1
    for i in 0 2 4; do
        local d=$(( 16#${a:i:2} - 16#${b:i:2} ))
        [ ${d#-} -le "$3" ] || return 1
    done
}

# pixels_are SHOT EXPECTED TOLERANCE X,Y...: prints the points that differ, with their colour.
pixels_are() {
    local shot=$1 expected=$2 tolerance=$3 point seen bad=""
    shift 3
    for point in "$@"; do
        seen=$(it_pixel "$shot" "${point%,*}" "${point#*,}")
        near "$seen" "$expected" "$tolerance" || bad+=" ($point)=$seen"
    done
    printf '%s' "$bad"
}

# dark_pixels SHOT WxH+X+Y: how many pixels of the area are darker than 0x30.
dark_pixels() {
    convert "$IT_RESULTS/$1.png" -crop "$2" +repage -colorspace gray -threshold 18.8% -negate \
        -format '%[fx:round(mean*w*h)]' info: 2>/dev/null
}

# Band geometry of the screen: left 5% in, 90% wide, 100 high, bottom 100 above the screen's.
bx=$(( W / 20 )) by=$(( H - 200 )) bw=$(( W * 9 / 10 ))
band_grey=5a5a5a # white at 90/255 over black
clock_area="300x40+$((bx + 10))+$((by + 60))"

check_standing_shot() { # check_standing_shot NAME: the photo centred, the band, the clock
    local shot=$1 photo=$SHOT_PHOTO size="" colour=""
    [ -n "$photo" ] && size=${SIZE[$photo]:-} colour=${COLOUR[$photo]:-}
    if [ -z "$size" ]; then
        fail "$shot: the photo at rest is one of the test photos (trace names '$photo')"
        return
    fi
    local w=${size% *} h=${size#* }
    local x0=$(( (W - w) / 2 )) y0=$(( (H - h) / 2 ))
    local x1=$(( x0 + w - 1 )) y1=$(( y0 + h - 1 ))
    local bad
    bad=$(pixels_are "$shot" "$colour" 3 "$x0,$y0" "$x1,$y0" "$x0,$y1" "$x1,$y1" "$((W / 2)),$((H / 2))")
    check "$shot: $photo (${w}x$h, $colour) fills ($x0,$y0)-($x1,$y1)${bad:+; seen$bad}" [ -z "$bad" ]
    bad=$(pixels_are "$shot" 000000 0 "$((x0 - 1)),$y0" "$((x1 + 1)),$y1" "$x0,$((y0 - 1))" "$x1,$((y1 + 1))" \
        5,5 "$((W - 5)),$((H - 5))" "$((bx - 1)),$((by + 50))" "$((bx + bw)),$((by + 50))" \
        "$((W / 2)),$((by - 1))" "$((W / 2)),$((by + 100))")
    check "$shot: black around the photo and the band${bad:+; seen$bad}" [ -z "$bad" ]
    bad=$(pixels_are "$shot" "$band_grey" 3 "$bx,$((by + 50))" "$((bx + bw - 1)),$((by + 50))" \
        "$((W / 2)),$by" "$((W / 2)),$((by + 99))" "$((bx + bw - 60)),$((by + 80))")
    check "$shot: the band ${bw}x100 at ($bx,$by) is $band_grey over black${bad:+; seen$bad}" [ -z "$bad" ]
    local clock blank
    clock=$(dark_pixels "$shot" "$clock_area")
    blank=$(dark_pixels "$shot" "300x30+$((bx + bw - 310))+$((by + 65))")
    check "$shot: the clock is drawn in the band ($clock dark pixels; $blank beside it)" \
        [ "${clock:-0}" -ge 100 -a "${blank:-1}" -eq 0 ]
}

if standing_shot "$IT_PLATFORM-show-1"; then
    check_standing_shot "$IT_PLATFORM-show-1"
else
    fail "a photo at rest is seen on screen"
fi
# The next photo at rest: in list order the other one, and the clock has moved on by then.
if standing_shot "$IT_PLATFORM-show-2"; then
    check_standing_shot "$IT_PLATFORM-show-2"
    for n in 1 2; do
        convert "$IT_RESULTS/$IT_PLATFORM-show-$n.png" -crop "$clock_area" +repage "$IT_WORK/clock-$n.png"
    done
    changed=$(compare -metric AE "$IT_WORK/clock-1.png" "$IT_WORK/clock-2.png" null: 2>&1)
    check "the clock runs between the two shots ($changed pixels changed)" [ "${changed%%[^0-9]*}" -gt 0 ]
else
    fail "a second photo at rest is seen on screen"
fi

# Moving the mouse, however often, does not end the show.
ends=$(count '^DrawScreen end')
for point in 100,100 900,120 512,384 30,700 1000,740 600,300 200,650 512,384; do
    xdotool mousemove "${point%,*}" "${point#*,}"
    sleep 0.1
done
check "mouse moves leave the show running: more slides follow" it_wait_for_trace '^DrawScreen end' $((ends + 2)) 15
check "mouse moves leave the program running" alive

# Any other key ends it. Without a window manager keys go to the window under the pointer.
if alive; then
    xdotool mousemove $((W / 2)) $((H / 2))
    xdotool key Escape
    tries=0
    while alive && [ $tries -lt 150 ]; do sleep 0.1; tries=$((tries + 1)); done
    if alive; then
        fail "a key ends the show within 15 s"
        kill "$IT_PID"
    fi
    it_wait
    check "the program ends after the key with status 0 (status $IT_STATUS)" [ "$IT_STATUS" -eq 0 ]
else
    it_wait
    fail "the show ends only when asked (it ended by itself, status $IT_STATUS)"
fi

# The trace, in order. The scanner's lines come from a thread of their own; the others follow
# the slide steps: P paint, B begin, F photo, E effect, D end, T tick.
it_trace >"$IT_RESULTS/$IT_PLATFORM-show-trace.txt"
scanner=$(grep -E '^(pic dir=|find pic file:)' "$IT_RESULTS/$IT_PLATFORM-show-trace.txt")
expected_scan="pic dir=$photo_dir"
for photo in left.bmp right.jpg; do expected_scan+=$'\n'"find pic file:$photo_dir$separator$photo"; done
check "the scanner traces the folder, then each photo in it" \
    [ "$(printf '%s\n' "$scanner" | head -n 1)" = "pic dir=$photo_dir" -a \
      "$(printf '%s\n' "$scanner" | sort)" = "$(printf '%s\n' "$expected_scan" | sort)" ]
steps=$(awk '
    /^paintBoxPaint trigged~$/ { printf "P" } /^DrawScreen begin\.\.\.$/ { printf "B" }
    /^pic file=/ { printf "F" } /^effect style=([0-9]|1[0-2])$/ { printf "E" }
    /^DrawScreen end\.\.\.$/ { printf "D" } /^Timer1Timer trigged~$/ { printf "T" }' \
    "$IT_RESULTS/$IT_PLATFORM-show-trace.txt")
# Steps before the scanner's first photo find nothing; the last step may be cut short.
check "slide steps trace paint, begin, photo, effect 0-12, end, then a tick ($steps)" \
    bash -c '[[ $1 =~ ^(PB|TPB)*(T?PBFED)+(T|TP|TPB|TPBF|TPBFE)?$ ]]' _ "$steps"
shown=$(sed -n 's/^pic file=//p' "$IT_RESULTS/$IT_PLATFORM-show-trace.txt" | awk -F'[/\\\\]' '{ print $NF }')
check "in list order the two photos take turns (${shown//$'\n'/ })" awk '
    { if (NR > 1 && $0 == previous) bad = 1; previous = $0 } END { exit bad || NR < 3 }' <<<"$shown"
check "each photo shown was found first" awk '
    /^find pic file:/ { found[substr($0, 15)] = 1 }
    /^pic file=/ { shown++; if (!(substr($0, 10) in found)) bad = 1 }
    END { exit bad || !shown }' "$IT_RESULTS/$IT_PLATFORM-show-trace.txt"

# music_line_end SHOT: the rightmost dark column of the band's second line (the current music
# file), counted from the text's left edge; 0 when the line is blank.
music_line_end() {
    [ -f "$IT_RESULTS/$1.png" ] || { echo 0; return; }
    convert "$IT_RESULTS/$1.png" -crop "$((bw - 20))x12+$((bx + 10))+$((by + 17))" +repage \
        -colorspace gray -threshold 18.8% txt:- 2>/dev/null |
        awk -F'[,:]' '/#000000|black/ { if ($1 + 0 > end) end = $1 + 0 } END { print end + 0 }'
}

# Music, on Linux (the Windows player is covered by its unit tests): the same photos and a
# folder holding one track of about a second, in list order, on a silent sink. Each tick after
# the track has ended starts it again; its path then stands in the band's second line.
if [ "$IT_PLATFORM" = linux ]; then
    music="$IT_WORK/music"
    mkdir -p "$music"
    track="$music/tone.mp3"
    if ! gst-launch-1.0 -q audiotestsrc num-buffers=40 ! audioconvert ! lamemp3enc ! filesink location="$track" ||
        [ ! -s "$track" ]; then
        cp "$IT_ROOT"/samples/music/*.mp3 "$track"
    fi
    linux_music_store
    it_launch /s
    # The first tick starts the track; a notification follows the open, another its end.
    check "music: the track is started and its end notified within 30 s" \
        it_wait_for_trace '^Play music notify\.\.\.$' 2 30
    check "music: a track ends and the next tick starts it again" it_wait_for_trace '^PlayMusic begin\.\.\.$' 2 15
    if standing_shot linux-music; then
        label_end=$(music_line_end "$IT_PLATFORM-show-1")
        [ "$label_end" -gt 50 ] || label_end=140 # the label alone, measured in the show without music
        line_end=$(music_line_end linux-music)
        check "music: the band's second line names the track (dark to x+$line_end, the label alone to x+$label_end)" \
            [ "$line_end" -gt $((label_end + 20)) ]
    else
        fail "music: a photo at rest is seen on screen"
    fi
    # A key ends the show with the track open: the player closes it on the way out.
    xdotool mousemove $((W / 2)) $((H / 2)) key Escape
    tries=0
    while alive && [ $tries -lt 150 ]; do sleep 0.1; tries=$((tries + 1)); done
    alive && kill "$IT_PID"
    it_wait
    check "music: a key ends the show with status 0 (status $IT_STATUS)" [ "$IT_STATUS" -eq 0 ]
    it_trace >"$IT_RESULTS/linux-music-trace.txt"
    # T tick, B begin, F the file, N notify, M mode; a track is started (again) only after
    # a notification found it not playing (m, a mode other than 2).
    music_steps=$(awk -v track="$track" '
        /^Timer1Timer trigged~$/ { printf "T" } /^PlayMusic begin\.\.\.$/ { printf "B" }
        /^music file=/ { printf (substr($0, 12) == track ? "F" : "?") } /^Play music notify\.\.\.$/ { printf "N" }
        /^m_MediaPlayer->Mode=[0-6]\.error_msg=/ { printf ($0 ~ /^m_MediaPlayer->Mode=2\./ ? "M" : "m") }' \
        "$IT_RESULTS/linux-music-trace.txt")
    # Wrong: a begin not right after a tick or not followed by the file, a notify without its
    # mode line or a mode line without one, another file, a restart with no "not playing" between.
    wrong='([^T]B|B[^F]|B$|N[^Mm]|N$|[^N][Mm]|[?]|BF[^Bm]*B)'
    check "music: a tick, begin, the file, then notify and mode lines; restarts only after the end ($music_steps)" \
        bash -c '[[ $1 =~ ^T+BF.*N.*B ]] && ! [[ $1 =~ $2 ]]' _ "$music_steps" "$wrong"
fi

# Ctrl+Right onto a file that cannot be played, on both builds: a long track and a text file
# named .mp3, in list order. The request closes the playing track and its replacement fails to
# open; the next tick must still start a track, whether or not the player notifies that close.
music="$IT_WORK/music-bad"
mkdir -p "$music"
good="$music/long-tone.mp3"
cp "$IT_ROOT/tests/data/music/not-audio.mp3" "$music/not-audio.mp3"
# Longer than the whole case, so that only the request ends it.
if ! gst-launch-1.0 -q audiotestsrc num-buffers=60 samplesperbuffer=22050 ! audio/x-raw,rate=22050,channels=1 ! \
    audioconvert ! lamemp3enc target=bitrate bitrate=32 ! filesink location="$good" || [ ! -s "$good" ]; then
    fail "bad track: a long tone is made for the case"
    it_finish
fi
if [ "$IT_PLATFORM" = win32 ]; then
    music_dir="Z:${music//\//\\}"
    winreg add "$key" /v PhotoDirectorys /t REG_SZ /d "$photo_dir|$music_dir" /f &&
        winreg add "$key" /v EnableMusic /t REG_DWORD /d 1 /f &&
        winreg add "$key" /v DisableMusicRandom /t REG_DWORD /d 1 /f ||
        { fail "bad track: settings prepared in the Wine registry"; it_finish; }
else
    linux_music_store
fi
started() { it_trace | grep -cE -- "^music file=.*[\\/]$1\$"; }
it_launch /s
# In list order the text file may come first; either way the tone is started within a few ticks.
if it_wait_for_trace '^music file=.*[\\/]long-tone\.mp3$' 1 30; then
    sleep 0.5
    bad_before=$(started 'not-audio\.mp3') good_before=$(started 'long-tone\.mp3')
    xdotool mousemove $((W / 2)) $((H / 2)) key ctrl+Right
    if it_wait_for_trace '^music file=.*[\\/]not-audio\.mp3$' $((bad_before + 1)) 10; then
        pass "bad track: Ctrl+Right chooses the text file"
        check "bad track: the next tick starts the tone again" \
            it_wait_for_trace '^music file=.*[\\/]long-tone\.mp3$' $((good_before + 1)) 10
    else
        fail "bad track: Ctrl+Right chooses the text file within 10 s"
    fi
else
    fail "bad track: the tone is started within 30 s"
fi
alive && kill "$IT_PID"
it_wait
it_trace >"$IT_RESULTS/$IT_PLATFORM-bad-track-trace.txt"

it_finish
