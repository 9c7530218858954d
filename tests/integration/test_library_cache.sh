#!/usr/bin/env bash
# The library remembered between shows: two shows in a row over 300 folders of five photos,
# one second apart, each for 25 s. The throttle lets one show's walk reach only some of the
# folders. The second show starts with what the first found (its slides come from folders its
# own walk never reaches) and its walk carries on into folders the first never reached, adding
# no photo twice. The cache lives in a throwaway folder.
source "$(dirname "$0")/lib.sh"

it_start_display 800x600
it_prepare_environment

library="$IT_WORK/library"
mkdir -p "$library"
convert -size 16x12 xc:'#3c8c50' -quality 90 "$IT_WORK/tiny.jpg"
for folder in $(seq -w 0 299); do
    mkdir -p "$library/f$folder"
    for photo in 1 2 3 4 5; do cp "$IT_WORK/tiny.jpg" "$library/f$folder/p$photo.jpg"; done
done

cache="$IT_WORK/cache"
mkdir -p "$cache"
key='HKCU\Control Panel\Screen Saver.Tovelin'
if [ "$IT_PLATFORM" = win32 ]; then
    photo_dir="Z:${library//\//\\}"
    # Wine sets LOCALAPPDATA from the prefix's own profile whatever the caller's says: the
    # throwaway folder is the prefix's, emptied before and after.
    cache_file=$(echo "$WINEPREFIX"/drive_c/users/*/AppData/Local)/Tovelin/library.cache
    rm -rf "$(dirname "$cache_file")"
    winreg() { timeout 60 "$IT_ROOT/scripts/wine-run.sh" reg "$@" >/dev/null 2>&1; }
    winreg delete "$key" /f
    winreg add "$key" /v PhotoDirectorys /t REG_SZ /d "$photo_dir" /f &&
        winreg add "$key" /v ChangeInterval /t REG_DWORD /d 1000 /f &&
        winreg add "$key" /v DisableRandom /t REG_DWORD /d 0 /f &&
        winreg add "$key" /v EnableMusic /t REG_DWORD /d 0 /f ||
        { fail "settings prepared in the Wine registry"; it_finish; }
    trap 'winreg delete "$key" /f; rm -rf "$(dirname "$cache_file")"; it_cleanup' EXIT
    export WINEDEBUG=-all,+debugstr
    separator='\'
else
    photo_dir=$library
    export XDG_CACHE_HOME="$cache"
    cache_file="$cache/tovelin/library.cache"
    mkdir -p "$XDG_CONFIG_HOME/tovelin"
    cat >"$XDG_CONFIG_HOME/tovelin/registry.reg" <<REG
REGEDIT4

[${key/HKCU/HKEY_CURRENT_USER}]
"PhotoDirectorys"="${photo_dir//\\/\\\\}"
"ChangeInterval"=dword:000003e8
"DisableRandom"=dword:00000000
"EnableMusic"=dword:00000000
REG
    separator=/
fi

# folders_of PREFIX: the library folders named in the trace messages starting with PREFIX.
folders_of() {
    it_trace | sed -n "s/^$1//p" | tr '\\' '/' | sed -n 's|.*/\(f[0-9]*\)/p[0-9]\.jpg$|\1|p' | sort -u
}

# show N: one show of 25 s, ended by a key; its trace is kept as trace-N.
show() {
    it_launch /s
    if ! it_wait_for_trace '^DrawScreen end\.\.\.$' 1 60; then
        kill "$IT_PID" 2>/dev/null
        it_wait
        fail "show $1: the first photo is shown"
        it_finish
    fi
    sleep 25
    xdotool mousemove 400 300 key Escape
    it_wait
    check "show $1 ends with status 0 (status $IT_STATUS)" [ "$IT_STATUS" -eq 0 ]
    it_trace >"$IT_WORK/trace-$1"
    folders_of 'find pic file:' >"$IT_WORK/walked-$1"
    folders_of 'pic file=' >"$IT_WORK/drawn-$1"
    it_trace | sed -n 's/^find pic file://p' | sort >"$IT_WORK/found-$1"
}

show 1
walked1=$(wc -l <"$IT_WORK/walked-1")
found1=$(wc -l <"$IT_WORK/found-1")
check "show 1 walks some folders but not all ($walked1)" [ "$walked1" -gt 0 ] && [ "$walked1" -lt 300 ]
check "the cache file is written" [ -s "$cache_file" ]
check "show 1 starts with nothing remembered" grep -qx 'remembered photos=0 music=0 walked folders=0' "$IT_WORK/trace-1"

show 2
check "show 2 starts with the $found1 photos that show 1 found" \
    grep -q "^remembered photos=$found1 music=0 walked folders=[1-9]" "$IT_WORK/trace-2"
drawn_elsewhere=$(comm -23 "$IT_WORK/drawn-2" "$IT_WORK/walked-2" | wc -l)
check "show 2 draws photos from folders its own walk never reached ($drawn_elsewhere)" [ "$drawn_elsewhere" -gt 0 ]
new_folders=$(comm -13 "$IT_WORK/walked-1" "$IT_WORK/walked-2" | wc -l)
check "show 2's walk finds folders that show 1's walk never reached ($new_folders)" [ "$new_folders" -gt 0 ]
twice=$(comm -12 "$IT_WORK/found-1" "$IT_WORK/found-2" | wc -l)
check "no photo is added twice ($twice)" [ "$twice" -eq 0 ]

# A damaged cache is ignored and replaced: the next show starts from nothing.
printf 'garbage' >"$cache_file"
it_launch /s
it_wait_for_trace '^remembered photos=' 1 60
sleep 1
xdotool mousemove 400 300 key Escape
it_wait
check "a damaged cache counts as none" \
    [ "$(it_trace | grep -c '^remembered photos=0 music=0 walked folders=0$')" -eq 1 ]
check "and is replaced by a good one" grep -q '^TOVELIN LIBRARY CACHE 1$' "$cache_file"

it_finish
