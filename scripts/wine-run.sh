#!/usr/bin/env bash
# Runs a Windows program under Wine with the project's headless settings. The caller may set
# WINEPREFIX and HOME (scripts/wine-prefix.sh prepares them); defaults keep runs private.
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
exec /usr/lib/wine/wine64 "$@"
