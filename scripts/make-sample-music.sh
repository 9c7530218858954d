#!/usr/bin/env bash
# Makes the bundled sample music (samples/music/): a 17-second tune as a mono 64 kbit/s MP3,
# and the same tune as a small MIDI file, both from the score in scripts/sample-music.py.
# Run once; the outputs are committed.
#
#   scripts/make-sample-music.sh [OUT_DIR]     (default samples/music)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/samples/music}
command -v gst-launch-1.0 >/dev/null && gst-inspect-1.0 lamemp3enc >/dev/null 2>&1 ||
    { echo "GStreamer with lamemp3enc is needed (apt-get install gstreamer1.0-tools gstreamer1.0-plugins-good)" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"

python3 "$root/scripts/sample-music.py" "$work/tune.wav" "$out/morning_walk.mid"

# A title tag when the ID3 muxer is there; the tune plays the same without. gst-launch joins
# its arguments into one pipeline text, hence the quotes inside the argument.
tags=()
if gst-inspect-1.0 id3v2mux >/dev/null 2>&1 && gst-inspect-1.0 taginject >/dev/null 2>&1; then
    tags=(! taginject 'tags="title=\"Morning walk\""' ! id3v2mux)
fi
gst-launch-1.0 -q filesrc location="$work/tune.wav" ! wavparse ! audioconvert ! audioresample \
    ! audio/x-raw,channels=1 ! lamemp3enc target=bitrate bitrate=64 cbr=true "${tags[@]}" \
    ! filesink location="$out/morning_walk.mp3"

for file in "$out/morning_walk.mp3" "$out/morning_walk.mid"; do
    echo "$file: $(stat -c %s "$file") bytes"
done
