#!/usr/bin/env bash
# The track engine against Wine's DirectShow: graphs, a WAV rendered and run,
# and its end posted to a window.
# usage: tracks_test.sh tracks_probe.exe
set -euo pipefail
source "$(dirname "$0")/wine_env.sh"
ensure_prefix
files=$(mktemp -d)
trap 'rm -rf "$files"; /usr/lib/wine/wineserver -k 2>/dev/null || true' EXIT
sox -n -r 44100 -c 2 -b 16 "$files/tone.wav" synth 0.5 sine 440
wine "$1" "Z:${files//\//\\}\\tone.wav" | tr -d '\r'
