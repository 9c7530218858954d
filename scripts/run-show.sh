#!/usr/bin/env bash
# Sets up, builds and runs the slide show on the bundled sample photos, with a throwaway
# settings store (your own settings are never touched). Extra arguments replace "/s".
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

./scripts/install-deps.sh
cmake --preset linux >/dev/null
cmake --build --preset linux --target tovelin

store=$(mktemp -d "${TMPDIR:-/tmp}/tovelin-show.XXXXXX")
trap 'rm -rf "$store"' EXIT
mkdir -p "$store/tovelin"
photos="$root/samples/photos"
photos=${photos//\\/\\\\}
photos=${photos//\"/\\\"}
# The store is the same REGEDIT4 text a user can edit; "\\" is an escaped backslash.
cat > "$store/tovelin/registry.reg" <<REG
REGEDIT4

[HKEY_CURRENT_USER\\Control Panel\\Screen Saver.Tovelin]
"PhotoDirectorys"="$photos"
"ChangeInterval"=dword:00000bb8
REG

if [ $# -eq 0 ]; then set -- /s; fi
XDG_CONFIG_HOME="$store" ./build/linux/src/tovelin "$@"
