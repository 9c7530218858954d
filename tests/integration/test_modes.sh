#!/usr/bin/env bash
# The screen-saver switches that open nothing end at once, and "/a" without a handle reports the
# conversion error in the standard error box.
source "$(dirname "$0")/lib.sh"

it_start_display
it_prepare_environment
it_build_tools || { fail "test tools build"; it_finish; }

# "/a" with a number asks for the password change, which neither platform here provides.
for switch in "/p 1234" "/x" "-s" "s" "/P:99" "/a 1234" "/A \$1F"; do
    it_start_watch
    started=$(date +%s%N)
    # shellcheck disable=SC2086
    it_launch $switch
    it_wait
    elapsed_ms=$(( ($(date +%s%N) - started) / 1000000 ))
    it_stop_watch
    problems=""
    [ "$IT_STATUS" -eq 0 ] || problems+=" status $IT_STATUS;"
    [ "$elapsed_ms" -lt 10000 ] || problems+=" took ${elapsed_ms} ms;"
    [ ! -s "$IT_WORK/mapped.list" ] || problems+=" mapped a window: $(head -n 1 "$IT_WORK/mapped.list");"
    [ ! -e "$XDG_CONFIG_HOME/tovelin" ] || problems+=" wrote a settings store;"
    check "'$switch' ends at once with status 0, no window and no store${problems:+:$problems}" [ -z "$problems" ]
done

# "/a" with a handle that is not a number: the conversion error in the standard error box, with
# the program's name as caption; the password change is not called.
expect_error_box() { # expect_error_box "expected text" switch...
    local expected=$1
    shift
    it_launch "$@"
    local shown=""
    if [ "$IT_PLATFORM" = win32 ]; then
        shown=$(timeout 40 "$IT_ROOT/scripts/wine-run.sh" "$IT_PROBE" tovelin 30000 | tr -d '\r')
        it_wait
    else
        local window
        window=$(timeout 30 xdotool search --sync --onlyvisible --name '^tovelin$' 2>/dev/null | head -n 1)
        it_screenshot "linux-error-box-$(echo "$*" | tr -c 'a-zA-Z0-9' '_')"
        if [ -n "$window" ]; then
            xdotool windowfocus --sync "$window" 2>/dev/null
            xdotool key --clearmodifiers Return
        fi
        it_wait
        # GTK boxes echo their text on standard error.
        [ -n "$window" ] && shown=$(sed -n 's/^tovelin: //p' "$IT_WORK/err" | head -n 1)
    fi
    check "'$*' shows \"$expected\" captioned tovelin, then ends with 0 (shown \"$shown\", status $IT_STATUS)" \
        [ "$shown" = "$expected" -a "$IT_STATUS" -eq 0 ]
}

expect_error_box "'' is not a valid integer value." /a
expect_error_box "':1234' is not a valid integer value." /a:1234
expect_error_box "' 12x' is not a valid integer value." /A 12x

it_finish
