# Shared by the scripts that build libjpeg-turbo from Debian's source package; source it.

# Prints the unpacked source tree, fetching it once into build/_sources for all builds.
libjpeg_source_dir() {
  local cache
  cache="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build/_sources"
  mkdir -p "$cache"
  (
    exec 9>"$cache/.lock"
    flock 9
    if [ -z "$(find "$cache" -maxdepth 1 -type d -name 'libjpeg-turbo-[0-9]*' | head -n 1)" ]; then
      (cd "$cache" && apt-get source -q libjpeg-turbo >/dev/null 2>"$cache/apt-source.log") || {
        cat "$cache/apt-source.log" >&2; exit 1; }
    fi
  ) || return 1
  find "$cache" -maxdepth 1 -type d -name 'libjpeg-turbo-[0-9]*' | head -n 1
}

# Some versions install into lib64: make PREFIX/lib/libjpeg.a exist, or fail.
libjpeg_check_install() {
  local prefix=$1
  if [ ! -f "$prefix/lib/libjpeg.a" ]; then
    mkdir -p "$prefix/lib"
    local found
    found=$(find "$prefix" -name 'libjpeg.a' | head -n 1)
    [ -n "$found" ] && cp "$found" "$prefix/lib/libjpeg.a"
  fi
  test -f "$prefix/lib/libjpeg.a"
}
