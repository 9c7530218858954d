#!/usr/bin/env bash
# The help beside the program: help.chm on Windows holding every page, the "help" folder on
# Linux; and every local link of the pages reaching a page that exists.
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"

program_dir=$(dirname "$IT_PROGRAM")
pages_dir="$IT_ROOT/docs/help"
mapfile -t pages < <(cd "$pages_dir" && ls -- *.htm)

# chm_has CHM NAME: the compiled file's directory lists "/NAME", its length in front (an
# encoded integer, one byte for a short name).
chm_has() {
    local entry="/$2"
    LC_ALL=C grep -qaF "$(printf "\\x$(printf %02x ${#entry})")$entry" "$1"
}

if [ "$IT_PLATFORM" = win32 ]; then
    chm="$program_dir/help.chm"
    check "help.chm lies beside the program" test -f "$chm"
    check "help.chm is a compiled help file" test "$(head -c 4 "$chm" 2>/dev/null)" = ITSF
    check "help.chm holds /Overview.htm, the page the Help menu opens" chm_has "$chm" Overview.htm
    for page in "${pages[@]}" help.css; do
        check "help.chm holds /$page" chm_has "$chm" "$page"
    done
else
    check "help/Overview.htm, the page the Help menu opens, lies beside the program" \
        test -f "$program_dir/help/Overview.htm"
    for page in "${pages[@]}" help.css; do
        check "help/$page is the page of docs/help" cmp -s "$pages_dir/$page" "$program_dir/help/$page"
    done
fi

# Every href, src and contents or index entry without a scheme, its #fragment dropped.
broken=()
for file in "$pages_dir"/*.htm "$pages_dir"/help.hhc "$pages_dir"/help.hhk; do
    while read -r target; do
        target=${target%%#*}
        [ -z "$target" ] && continue
        [ -f "$pages_dir/$target" ] || broken+=("$(basename "$file") -> $target")
    done < <(grep -oiE '(href|src)="[^"]*"|name="Local" value="[^"]*"' "$file" |
        sed -E 's/^.*"([^"]*)"$/\1/' | grep -viE '^[a-z][a-z0-9+.-]*:')
done
check "every local link of the help reaches a page (${broken[*]:-none broken})" test ${#broken[@]} -eq 0
check "no page links to the web" bash -c "! grep -qiE 'href=\"[a-z]+://' '$pages_dir'/*.htm"

it_finish
